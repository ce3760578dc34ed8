#!/usr/bin/env python3
"""`inkcurve serve`'s page in a real browser (headless Chromium driven by
Selenium), as a photographer uses it: the example files opened through the
file inputs, the summary and the readings seen, a slider moved and the graph
redrawn (its picture differs), a channel hidden, a file whose wedge layout is asked about answered
by a button, and the corrected .quad saved by the browser, byte for byte what
`inkcurve linearize ... --out` writes. A screenshot of the page is kept.

usage: serve_page_test.py INKCURVE EXAMPLES-FOLDER
Chromium and chromedriver are found as INKCURVE_CHROMIUM and
INKCURVE_CHROMEDRIVER name them, else on the PATH; the screenshot goes to
INKCURVE_TEST_OUTPUT, else to a temporary folder.
"""

import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException, TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

TIMEOUT = 20


def by_test(name):
    return (By.CSS_SELECTOR, '[data-test="%s"]' % name)


def fail(message):
    raise AssertionError(message)


def start_server(program):
    server = subprocess.Popen([program, 'serve', '--port', '0'], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
    line = server.stdout.readline()
    found = re.search(r'(http://127\.0\.0\.1:\d+/)\?token=[0-9a-f]{64}\b', line)
    if not found:
        server.kill()
        fail('inkcurve serve printed no address: %r %r' % (line, server.stderr.read()))
    return server, found.group(0), found.group(1)


def start_browser(download_dir):
    options = webdriver.ChromeOptions()
    options.binary_location = os.environ.get('INKCURVE_CHROMIUM') or shutil.which('chromium')
    for argument in ('--headless=new', '--no-sandbox', '--disable-dev-shm-usage', '--window-size=1400,1250',
                     '--disable-gpu', '--no-first-run', '--disable-extensions'):
        options.add_argument(argument)
    options.add_experimental_option('prefs', {
        'download.default_directory': download_dir,
        'download.prompt_for_download': False,
        'safebrowsing.enabled': False,
    })
    service = Service(executable_path=os.environ.get('INKCURVE_CHROMEDRIVER') or shutil.which('chromedriver'))
    driver = webdriver.Chrome(service=service, options=options)
    driver.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': download_dir})
    return driver


class Session:
    """What a test of the page works with: the browser on the page, the
    server's address and origin, a folder of its own (`work`), the folder
    the browser saves into, and where screenshots are kept."""

    def __init__(self, driver, address, origin, work, downloads, output):
        self.driver, self.address, self.origin = driver, address, origin
        self.work, self.downloads, self.output = work, downloads, output


@contextlib.contextmanager
def page_in_browser(program, prefix):
    """`inkcurve serve --port 0` started and a browser on its page, ready; after
    the test, the browser closed and the server ended by SIGINT, which must
    end it with status 0, and the test's folder removed."""
    work = tempfile.mkdtemp(prefix=prefix)
    output = os.environ.get('INKCURVE_TEST_OUTPUT') or work
    os.makedirs(output, exist_ok=True)
    downloads = os.path.join(work, 'downloads')
    os.makedirs(downloads)
    server, address, origin = start_server(program)
    driver = None
    try:
        driver = start_browser(downloads)
        driver.get(address)
        wait_for(driver, 'the page to start', lambda: driver.find_element(By.TAG_NAME, 'body')
                 .get_attribute('data-ready') == 'true')
        yield Session(driver, address, origin, work, downloads, output)
    finally:
        if driver:
            driver.quit()
        server.send_signal(signal.SIGINT)
        try:
            status = server.wait(10)
        except subprocess.TimeoutExpired:
            server.kill()
            status = 'none: killed after 10 s'
        shutil.rmtree(work, ignore_errors=True)
    if status != 0:
        fail('inkcurve serve ended with status %s on SIGINT' % status)


def saved_by_browser(driver, link, folder, name):
    """The bytes of the file the link named `link` (its data-test) saves,
    which must be offered as `name`, as the browser saves it into `folder`."""
    path = os.path.join(folder, name)
    if os.path.exists(path):
        os.remove(path)
    element = driver.find_element(*by_test(link))
    if element.get_attribute('download') != name:
        fail('%s offers %r, not %r' % (link, element.get_attribute('download'), name))
    element.click()
    wait_for(driver, 'the download of ' + name,
             lambda: os.path.exists(path) and not os.path.exists(path + '.crdownload'))
    with open(path, 'rb') as f:
        return f.read()


def graph_pixels(driver, name):
    """The graph's image as the page shows it now, drawn into a canvas and
    read back (the page's policy lets no script fetch the image's bytes)."""
    return driver.execute_script(
        'const img = document.querySelector(\'[data-test="%s"]\');'
        'if (!img || img.hidden || !img.complete || !img.naturalWidth) return null;'
        'const canvas = document.createElement("canvas");'
        'canvas.width = img.naturalWidth; canvas.height = img.naturalHeight;'
        'canvas.getContext("2d").drawImage(img, 0, 0);'
        'return canvas.toDataURL();' % name)


def texts(driver, name):
    """The texts of the visible elements marked `name`, read at one moment."""
    return driver.execute_script(
        'return Array.from(document.querySelectorAll(\'[data-test="\' + arguments[0] + \'"]\'))'
        '.filter((e) => e.offsetParent !== null).map((e) => e.innerText).filter((t) => t);', name)


def summary_lines(driver):
    return driver.execute_script(
        'return Array.from(document.querySelectorAll(\'[data-test="summary"] li\')).map((e) => e.textContent);')


def wait_for(driver, what, condition):
    try:
        return WebDriverWait(driver, TIMEOUT, poll_frequency=0.05,
                             ignored_exceptions=[StaleElementReferenceException]).until(lambda d: condition())
    except TimeoutException:
        fail('waited %d s for %s; summary %r, warnings %r' % (TIMEOUT, what, summary_lines(driver),
                                                              texts(driver, 'warnings')))


def settled_pixels(driver, name):
    """The graph once it stays the same for half a second (the slider's last
    values answered)."""
    seen = [None]

    def same():
        time.sleep(0.5)
        now = graph_pixels(driver, name)
        if now is not None and now == seen[0]:
            return now
        seen[0] = now
        return None
    return wait_for(driver, 'the graph %s to settle' % name, same)


def drag(driver, slider, pixels):
    ActionChains(driver).click_and_hold(slider).move_by_offset(pixels // 2, 0).move_by_offset(
        pixels - pixels // 2, 0).release().perform()


def wedge_asking_layout(path):
    """A 21-step wedge measured 3 times, pass after pass, with one reading of
    the last pass missing: no layout fits 62 readings, and the finder offers
    to read them as 21 steps with one missing."""
    ls = [95.0 - 90.0 * i / 20 for i in range(21)]
    readings = [l + 0.02 * ((i * 7 + p * 3) % 5 - 2) for p in range(3) for i, l in enumerate(ls)
                if (p, i) != (2, 7)]
    rows = ['%d\tA%d\t%.2f\t0.50\t2.00' % (i + 1, i + 1, l) for i, l in enumerate(readings)]
    with open(path, 'w') as f:
        f.write('CGATS.17\nORIGINATOR\t"inkcurve test: a reading missing"\nNUMBER_OF_FIELDS\t5\n'
                'BEGIN_DATA_FORMAT\nSAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\nEND_DATA_FORMAT\n'
                'NUMBER_OF_SETS\t%d\nBEGIN_DATA\n%s\nEND_DATA\n' % (len(rows), '\n'.join(rows)))


def main():
    program, examples = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    wedge = os.path.join(examples, 'wedge-21.txt')
    quad = os.path.join(examples, 'pt-pd-8ch.quad')
    started = time.monotonic()
    with page_in_browser(program, 'inkcurve-serve-page-') as session:
        driver, origin, work, downloads, output = (session.driver, session.origin, session.work, session.downloads,
                                                   session.output)
        if driver.current_url != origin:
            fail('the token stays in the address bar: %s' % driver.current_url)

        # The two files, through their inputs.
        driver.find_element(*by_test('measurement-file')).send_keys(wedge)
        wait_for(driver, 'the summary', lambda: any(l.startswith('measurements: wedge-21.txt')
                                                      for l in summary_lines(driver)))
        driver.find_element(*by_test('quad-file')).send_keys(quad)
        wait_for(driver, 'the channels corrected', lambda: any(l.startswith('channels corrected:')
                                                               for l in summary_lines(driver)))
        rows = driver.find_elements(By.CSS_SELECTOR, '[data-test="readings-table"] tbody tr')
        if len(rows) != 21:
            fail('the table shows %d readings, not 21' % len(rows))
        first = [c.get_attribute('value') or c.text for c in rows[0].find_elements(By.CSS_SELECTOR, 'th, td, input')]
        if '94.80' not in first:
            fail('step 1 is not L* 94.80 as the file says: %r' % first)

        # A slider moved: both graphs drawn again while it moves.
        wait_for(driver, 'the ink graph', lambda: graph_pixels(driver, 'graph-ink'))
        ink_before = graph_pixels(driver, 'graph-ink')
        measured_before = graph_pixels(driver, 'graph-measurements')
        smoothing = driver.find_element(*by_test('smoothing'))
        drag(driver, smoothing, 16)
        value = smoothing.get_attribute('value')
        if value == '33':
            fail('the smoothing slider did not move')
        wait_for(driver, 'the graphs drawn with smoothing %s' % value,
                 lambda: graph_pixels(driver, 'graph-measurements') not in (None, measured_before))

        # A channel hidden and shown again.
        toggles = driver.find_elements(*by_test('channel-toggle'))
        if not toggles:
            fail('no channel buttons')
        settled = settled_pixels(driver, 'graph-ink')
        toggles[0].click()
        wait_for(driver, 'the ink graph without ' + toggles[0].text,
                 lambda: graph_pixels(driver, 'graph-ink') not in (None, settled))
        toggles[0].click()
        wait_for(driver, 'the ink graph with every channel', lambda: graph_pixels(driver, 'graph-ink') == settled)

        driver.save_screenshot(os.path.join(output, 'serve-page.png'))

        # The corrected .quad, saved by the browser, as the command writes it.
        driver.find_element(By.CSS_SELECTOR, '#export summary').click()
        saved = saved_by_browser(driver, 'download-quad', downloads, 'pt-pd-8ch-corrected.quad')
        expected = os.path.join(work, 'expected.quad')
        subprocess.run([program, 'linearize', wedge, quad, '--out', expected, '--smoothing', value],
                       check=True, stdout=subprocess.DEVNULL)
        with open(expected, 'rb') as b:
            if saved != b.read():
                fail('the downloaded .quad differs from `inkcurve linearize --smoothing %s --out`' % value)

        # A file whose layout the finder asks about: its choices as buttons.
        asking = os.path.join(work, 'one-missing.txt')
        wedge_asking_layout(asking)
        driver.find_element(*by_test('measurement-file')).send_keys(asking)
        wait_for(driver, 'the layout question', lambda: texts(driver, 'layout-choice'))
        question = driver.find_element(By.ID, 'question-text').text
        if 'no wedge layout fits 62 readings' not in question:
            fail('the question is %r' % question)
        choices = driver.find_elements(*by_test('layout-choice'))
        driver.save_screenshot(os.path.join(output, 'serve-page-question.png'))
        label = choices[0].text
        choices[0].click()
        wait_for(driver, 'the file read as %r offers' % label,
                 lambda: 'readings: 62, a 21-step wedge measured 3 times, pass after pass, one reading of step 8 '
                 'missing, resampled to 256' in summary_lines(driver)
                 and not texts(driver, 'layout-choice'))
    print('the page works in Chromium (%.1f s); screenshot: %s' % (time.monotonic() - started,
                                                                  os.path.join(output, 'serve-page.png')))


if __name__ == '__main__':
    main()
