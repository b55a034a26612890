"""A web server on 127.0.0.1, in threads of the calling process, for the
link check's test and benchmark; nothing here listens on another address.

Each request is answered as `answers` says; other sockets accept
connections and never answer; `log` holds (method, path, User-Agent) of
every request and `peak` the most requests it ever had in hand at once.
"""
import http.server, socket, threading, time

HOST = '127.0.0.1'


class LoopbackServer:
    def __init__(self, answers, delay=0, silent_hosts=1, body=b'page\n'):
        """answers(method, path, user_agent, in_hand) -> (status, {header: value}),
        or None for a line that is not HTTP; each answer `delay` seconds late,
        with `body` to a GET."""
        log = self.log = []
        lock = threading.Lock()
        self.in_hand = self.peak = 0
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def answer(self):
                with lock:
                    log.append((self.command, self.path, self.headers.get('User-Agent')))
                    server.in_hand += 1
                    server.peak = max(server.peak, server.in_hand)
                    in_hand = server.in_hand
                time.sleep(delay)
                answer = answers(self.command, self.path, self.headers.get('User-Agent') or '', in_hand)
                # Counted out before the client can hear the answer: it may
                # then ask again at once without being counted twice.
                with lock:
                    server.in_hand -= 1
                if answer is None:
                    self.wfile.write(b'garbage\r\n\r\n')
                    self.close_connection = True
                    return
                status, headers = answer
                content = b'' if self.command == 'HEAD' else body
                self.send_response(status)
                for name, value in headers.items():
                    self.send_header(name, value)
                self.send_header('Content-Length', str(len(content)))
                self.end_headers()
                try:
                    self.wfile.write(content)
                except ConnectionError:
                    pass  # a client that had what it wanted from the headers

            do_HEAD = do_GET = answer

            def log_message(self, *args):
                pass

        http.server.ThreadingHTTPServer.request_queue_size = 1024
        self.http = http.server.ThreadingHTTPServer((HOST, 0), Handler)
        self.http.daemon_threads = True
        self.port = self.http.server_address[1]
        self.silent = [socket.create_server((HOST, 0), backlog=1024) for _ in range(silent_hosts)]
        self.held = []
        self.threads = [threading.Thread(target=self.http.serve_forever, daemon=True)]
        self.threads += [threading.Thread(target=self.hold, args=(s,), daemon=True) for s in self.silent]
        for thread in self.threads:
            thread.start()

    def hold(self, listener):
        """Accepts and keeps every connection, saying nothing."""
        while True:
            try:
                connection, _ = listener.accept()
            except OSError:
                return
            self.held.append(connection)

    def url(self, path):
        return f'http://{HOST}:{self.port}{path}'

    def silent_url(self, path='/', host=0):
        return f'http://{HOST}:{self.silent[host].getsockname()[1]}{path}'

    def stop(self):
        self.http.shutdown()
        self.http.server_close()
        # Closing alone would not wake the thread waiting in accept.
        for listener in self.silent:
            listener.shutdown(socket.SHUT_RDWR)
            listener.close()
        for connection in self.held:
            connection.close()
        for thread in self.threads:
            thread.join()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def unused_port():
    """A port on 127.0.0.1 with nothing listening: bound, then let go."""
    with socket.socket() as probe:
        probe.bind((HOST, 0))
        return probe.getsockname()[1]
