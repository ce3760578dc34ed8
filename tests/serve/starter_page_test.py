#!/usr/bin/env python3
"""The starter-curve screen of `inkcurve serve`'s page in a real browser
(headless Chromium driven by Selenium): the screen opened by its tab, a
printer model and a process picked, each boost slider moved with the graph
drawn again every time, the summary and the warnings as `inkcurve starter`
prints them for the same choices, and the .quad saved by the browser, byte for
byte what the command writes. A screenshot of the screen is kept.

usage: starter_page_test.py INKCURVE
Chromium, chromedriver and the screenshot's folder as for serve_page_test.py.
"""

import os
import subprocess
import sys
import time

from selenium.webdriver.support.ui import Select

from serve_page_test import by_test, drag, fail, graph_pixels, page_in_browser, saved_by_browser, wait_for

PRINTER = 'P5000/P7000/P9000'
PROCESS = 'Carbon Transfer'


def text_of(driver, name):
    return driver.execute_script(
        'const e = document.querySelector(\'[data-test="\' + arguments[0] + \'"]\'); return e ? e.textContent : null;',
        name)


def warnings(driver):
    return driver.execute_script(
        'return Array.from(document.querySelectorAll(\'[data-test="starter-warnings"] li\')).map((e) => e.textContent);')


def main():
    program = os.path.abspath(sys.argv[1])
    started = time.monotonic()
    with page_in_browser(program, 'inkcurve-starter-page-') as session:
        driver, work, downloads, output = session.driver, session.work, session.downloads, session.output

        # The screen, by its tab: the pickers filled from the server's tables.
        driver.find_element(*by_test('tab-starter')).click()
        printer = Select(driver.find_element(*by_test('starter-printer')))
        process = Select(driver.find_element(*by_test('starter-process')))
        wait_for(driver, 'the printer models', lambda: len(printer.options) == 6)
        if [o.text for o in process.options] != ['Standard Starter Curve', 'Traditional Cyanotype', 'Carbon Transfer',
                                                 'Lodima Grade 2', 'Ilford MG Classic', 'HLV-PiezoPro']:
            fail('the processes offered are %r' % [o.text for o in process.options])
        if driver.find_element(*by_test('summary')).is_displayed():
            fail('the linearization screen is still shown')
        wait_for(driver, 'the first graph', lambda: graph_pixels(driver, 'graph-starter'))

        printer.select_by_visible_text(PRINTER)
        process.select_by_visible_text(PROCESS)
        wait_for(driver, 'the curve of the titles picked', lambda: text_of(driver, 'starter-summary') ==
                 'starter curve: %s, %s; channels K, C, M, Y, LC, LM, LK, LLK, OR, GR' % (PRINTER, PROCESS))

        # Each boost moved: the graph drawn again with it.
        values = {}
        for name, pixels in (('starter-ink-limit', 40), ('starter-yellow', -30), ('starter-total-ink', 25)):
            wait_for(driver, 'the graph before %s moves' % name, lambda: graph_pixels(driver, 'graph-starter'))
            time.sleep(0.3)
            before = graph_pixels(driver, 'graph-starter')
            slider = driver.find_element(*by_test(name))
            drag(driver, slider, pixels)
            value = slider.get_attribute('value')
            if value in ('0', '0.00'):
                fail('the slider %s did not move' % name)
            values[name[len('starter-'):]] = value
            wait_for(driver, 'the graph drawn with %s %s' % (name, value),
                     lambda: graph_pixels(driver, 'graph-starter') not in (None, before))

        # What the command prints and writes for the same choices.
        expected = os.path.join(work, 'expected.quad')
        options = []
        for option in ('ink-limit', 'yellow', 'total-ink'):
            options += ['--' + option, values[option]]
        run = subprocess.run([program, 'starter', '--printer', PRINTER, '--process', PROCESS] + options +
                             ['--out', expected], check=True, capture_output=True, text=True)
        summary = run.stdout.splitlines()[0]
        said = [line[len('inkcurve: warning: '):] for line in run.stderr.splitlines()]
        wait_for(driver, 'the summary %r' % summary, lambda: text_of(driver, 'starter-summary') == summary)
        if warnings(driver) != said or not said:
            fail('the page warns %r, the command %r' % (warnings(driver), said))
        wait_for(driver, 'the graph to settle', lambda: graph_pixels(driver, 'graph-starter'))
        driver.save_screenshot(os.path.join(output, 'serve-starter.png'))

        saved = saved_by_browser(driver, 'download-starter-quad', downloads,
                                 'p5000-p7000-p9000-carbon-transfer.quad')
        with open(expected, 'rb') as b:
            if saved != b.read():
                fail('the downloaded .quad differs from `inkcurve starter %s`' % ' '.join(options))

        # And back to the linearization screen.
        driver.find_element(*by_test('tab-linearize')).click()
        if not driver.find_element(*by_test('summary')).is_displayed() or \
                driver.find_element(*by_test('starter-printer')).is_displayed():
            fail('the linearization screen is not shown again')
    print('the starter screen works in Chromium (%.1f s); screenshot: %s' % (
        time.monotonic() - started, os.path.join(output, 'serve-starter.png')))


if __name__ == '__main__':
    main()
