"""A web server on 127.0.0.1, in threads of the calling process, for the
link check's test and benchmark; nothing here listens on another address.

Each path answers as `answers` says; a second socket accepts connections
and never answers; `log` holds (method, path, User-Agent) of every request.
"""
import http.server, socket, threading

HOST = '127.0.0.1'


class LoopbackServer:
    def __init__(self, answers):
        """answers(method, path) -> (status, {header: value})"""
        log = self.log = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def answer(self):
                log.append((self.command, self.path, self.headers.get('User-Agent')))
                status, headers = answers(self.command, self.path)
                body = b'' if self.command == 'HEAD' else b'page\n'
                self.send_response(status)
                for name, value in headers.items():
                    self.send_header(name, value)
                self.send_header('Content-Length', str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            do_HEAD = do_GET = answer

            def log_message(self, *args):
                pass

        http.server.ThreadingHTTPServer.request_queue_size = 1024
        self.http = http.server.ThreadingHTTPServer((HOST, 0), Handler)
        self.http.daemon_threads = True
        self.port = self.http.server_address[1]
        self.silent = socket.create_server((HOST, 0), backlog=1024)
        self.silent_port = self.silent.getsockname()[1]
        self.held = []
        self.threads = [threading.Thread(target=self.http.serve_forever, daemon=True),
                        threading.Thread(target=self.hold, daemon=True)]
        for thread in self.threads:
            thread.start()

    def hold(self):
        """Accepts and keeps every connection, saying nothing."""
        while True:
            try:
                connection, _ = self.silent.accept()
            except OSError:
                return
            self.held.append(connection)

    def url(self, path):
        return f'http://{HOST}:{self.port}{path}'

    def silent_url(self, path='/'):
        return f'http://{HOST}:{self.silent_port}{path}'

    def stop(self):
        self.http.shutdown()
        self.http.server_close()
        # Closing alone would not wake the thread waiting in accept.
        self.silent.shutdown(socket.SHUT_RDWR)
        self.silent.close()
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
