#!/usr/bin/env python3
"""Pages built by pravel-cli, in headless Chromium driven by Selenium.

The example page: standards mode, a drop-down per menu, no sideways
scrolling on a 360-pixel phone, four menus to a row and every menu's label
whole at 1,000 pixels, no WCAG 2.1 A/AA violation found by axe-core, and
choosing an entry goes to its address. A page whose values hold quotes,
apostrophes, ampersands, references and "<": every entry shows its name as
written, carries exactly its address, and no element carries an attribute
the templates did not write.

No network is used: every host name is mapped to nothing, and the address a
choice goes to is read from the browser.
"""
import argparse, json, os, shutil, subprocess, tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

# What each entry of the safe-values definition shows, and where it leads.
SAFE_VALUES = [
    ('Tools_&_"Stuff"', '6" ruler', 'http://x.test/?q="a" onmouseover=alert(1) x="'),
    ('Tools_&_"Stuff"', 'Café & Bar éA', 'http://x.test/caf%C3%A9?x=1&y=2'),
    ('Tools_&_"Stuff"', "it's a<b", "http://x.test/it's"),
    ('Tools_&_"Stuff"', 'Tom & Jerry', 'http://x.test/?a=1&b=2&copy=3'),
    ('Ünïcödé_東京', 'Bookmarklet', "javascript:void(document.title='a&b')"),
    ('Ünïcödé_東京', '東京 & more', 'http://x.test/東京'),
]

ATTRIBUTES = "[...document.querySelectorAll('*')].flatMap(e => [...e.attributes].map(a => e.tagName + ' ' + a.name))"


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which('chromium')
    for flag in ('--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
                 '--disable-component-update', '--disable-sync', '--host-resolver-rules=MAP * ~NOTFOUND'):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service(shutil.which('chromedriver')), options=options)


def build(cli, examples, definition, folder):
    shutil.copytree(examples, folder)
    if definition:
        shutil.copy(definition, os.path.join(folder, 'Pravel_Input.txt'))
    built = subprocess.run([cli, '-C', folder, 'build', 'Pravel_Input.txt'], capture_output=True, text=True)
    assert built.returncode == 0, f'pravel-cli build failed: {built.stderr}'
    return 'file://' + os.path.join(folder, 'Pravel.html')


def open_at(driver, page, width):
    driver.set_window_size(width, 800)
    inner = driver.execute_script('return window.innerWidth')
    driver.set_window_size(2 * width - inner, 800)  # the page's own width, whatever the window frame takes
    driver.get(page)


def choose(driver, page, index, entry):
    """The address the page goes to when the keyboard chooses an entry of a drop-down."""
    driver.get(page)
    select = driver.find_elements(By.TAG_NAME, 'select')[index]
    select.send_keys(*[Keys.ARROW_DOWN] * entry)
    WebDriverWait(driver, 15).until(lambda d: d.current_url != page)
    return driver.current_url


def check_example(driver, page, axe):
    driver.get(page)
    assert driver.execute_script('return document.compatMode') == 'CSS1Compat', 'the page is not in standards mode'
    menus = driver.execute_script("return [...document.querySelectorAll('select')].map(s => s.options[1].value)")
    # The build leaves each menu's name once in the definition.
    with open(os.path.join(os.path.dirname(page[len('file://'):]), 'Pravel_Input.txt'), 'rb') as f:
        assert len(menus) == f.read().count(b'menuname=<'), f'{len(menus)} drop-downs, not one per menu'
    for width in (360, 1000):
        open_at(driver, page, width)
        wide = driver.execute_script('return [document.documentElement.scrollWidth, document.documentElement.clientWidth]')
        assert wide[0] <= wide[1], f'at {width} pixels the page is {wide[0]} wide: it scrolls sideways'
        driver.execute_script(axe)
        violations = driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "axe.run(document, {runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']})"
            ".then(r => done(r.violations.map(v => v.id + ': ' + v.nodes.map(n => n.target).join(' '))));")
        assert not violations, f'at {width} pixels: {violations}'
    # At 1,000 pixels the first row holds its four menus, and each shows its label whole.
    rows = driver.execute_script("return [...document.querySelectorAll('select')].map(s => s.getBoundingClientRect().top)")
    assert len(set(rows[:4])) == 1, f'at 1000 pixels the first four menus stand at {rows[:4]}'
    cut = driver.execute_script(
        "const probe = document.body.appendChild(document.createElement('span'));"
        "const cut = [...document.querySelectorAll('select')].filter(s => {"
        "  const style = getComputedStyle(s); probe.style.font = style.font; probe.textContent = s.options[0].text;"
        "  return probe.getBoundingClientRect().width >"
        "    s.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);"
        "}).map(s => s.options[0].text); probe.remove(); return cut;")
    assert not cut, f'at 1000 pixels these labels are cut: {cut}'
    for index, address in enumerate(menus):
        went = choose(driver, page, index, 1)
        assert went == address, f'drop-down {index}: went to {went}, not {address}'
    return len(menus)


def check_safe_values(driver, page, plain_page):
    driver.get(plain_page)
    written = set(driver.execute_script('return ' + ATTRIBUTES))
    driver.get(page)
    added = set(driver.execute_script('return ' + ATTRIBUTES)) - written
    assert not added, f'attributes the templates did not write: {sorted(added)}'
    shown = driver.execute_script(
        "return [...document.querySelectorAll('select')].flatMap(s =>"
        "  [...s.options].slice(1).map(o => [s.options[0].text, o.text, o.value]))")
    assert [tuple(entry) for entry in shown] == SAFE_VALUES, json.dumps(shown, ensure_ascii=False)
    selects = [menu for menu, _, _ in shown]
    for k, (menu, _, address) in enumerate(SAFE_VALUES):
        if address.startswith('javascript:'):
            continue
        index = sorted(set(selects), key=selects.index).index(menu)
        entry = [m for m, _, _ in SAFE_VALUES[:k + 1]].count(menu)
        expected = driver.execute_script('return new URL(arguments[0]).href', address)
        went = choose(driver, page, index, entry)
        assert went == expected, f'{address}: went to {went}, not {expected}'


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--cli', required=True)
    parser.add_argument('--examples', required=True)
    parser.add_argument('--safe-values', required=True, help='a definition whose values HTML would misread')
    parser.add_argument('--axe', required=True, help="axe-core's axe.min.js")
    args = parser.parse_args()
    with open(args.axe) as f:
        axe = f.read()
    with tempfile.TemporaryDirectory(prefix='pravel-pages-') as folder:
        example = build(args.cli, args.examples, None, os.path.join(folder, 'example'))
        safe = build(args.cli, args.examples, args.safe_values, os.path.join(folder, 'safe'))
        driver = browser()
        try:
            menus = check_example(driver, example, axe)
            check_safe_values(driver, safe, example)
        finally:
            driver.quit()
    print(f'ok: {menus} drop-downs of the example and the safe values, each goes where it says')


if __name__ == '__main__':
    main()
