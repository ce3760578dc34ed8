#!/usr/bin/env python3
"""The curve editor screen of `inkcurve serve`'s page in a real browser
(headless Chromium driven by Selenium): the example .quad opened on the
linearization screen, the editor opened by its tab, K picked, the gamma typed,
a point added on the small graph and dragged, the boost slid, the graph drawn
again each time, a bad point refused in the command's words, the drag undone
and redone, and the edited .quad saved by the browser, byte for byte what
`inkcurve edit` writes with the options the page shows. A screenshot of the
screen is kept.

usage: editor_page_test.py INKCURVE EXAMPLES-FOLDER
Chromium, chromedriver and the screenshot's folder as for serve_page_test.py.
"""

import os
import subprocess
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

from serve_page_test import (by_test, drag, fail, graph_pixels, page_in_browser, saved_by_browser, settled_pixels,
                             wait_for)


def value_of(driver, name):
    return driver.find_element(*by_test(name)).get_attribute('value')


def messages(driver):
    return driver.execute_script(
        'return Array.from(document.querySelectorAll(\'[data-test="editor-warnings"] li\')).map((e) => e.textContent);')


def main():
    program, examples = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    quad = os.path.join(examples, 'pt-pd-8ch.quad')
    started = time.monotonic()
    with page_in_browser(program, 'inkcurve-editor-page-') as session:
        driver, work, downloads, output = session.driver, session.work, session.downloads, session.output

        # Nothing to edit before a file is open.
        driver.find_element(*by_test('tab-editor')).click()
        message = driver.find_element(*by_test('editor-message'))
        wait_for(driver, 'the editor to say what it needs', lambda: message.is_displayed() and message.text ==
                 'Open a .quad on the Linearize screen or make a starter curve first.')

        driver.find_element(*by_test('tab-linearize')).click()
        driver.find_element(*by_test('quad-file')).send_keys(quad)
        wait_for(driver, 'the .quad opened', lambda: driver.find_element(By.ID, 'quad-name').text == 'pt-pd-8ch.quad')

        driver.find_element(*by_test('tab-editor')).click()
        channel = Select(driver.find_element(*by_test('editor-channel')))
        wait_for(driver, 'the channels', lambda: len(channel.options) == 8)
        if [o.get_attribute('value') for o in channel.options] != ['K', 'LK', 'LLK', 'C', 'M', 'Y', 'LC', 'LM']:
            fail('the channels offered are %r' % [o.text for o in channel.options])
        if message.is_displayed():
            fail('the editor still says %r' % message.text)
        channel.select_by_value('LK')
        wait_for(driver, 'LK chosen', lambda: driver.find_element(*by_test('editor-file')).text == 'pt-pd-8ch.quad')
        channel.select_by_value('K')
        wait_for(driver, 'the first graph', lambda: graph_pixels(driver, 'graph-editor'))
        before = settled_pixels(driver, 'graph-editor')

        # The gamma typed.
        gamma = driver.find_element(*by_test('editor-gamma'))
        gamma.clear()
        gamma.send_keys('1.35')
        driver.find_element(*by_test('editor-file')).click()
        wait_for(driver, 'the graph drawn with gamma 1.35', lambda: graph_pixels(driver, 'graph-editor')
                 not in (None, before) and 'edited: K of pt-pd-8ch.quad: --gamma 1.35' in
                 driver.find_element(*by_test('editor-summary')).text)

        # A point added on the small graph and dragged on: one step to undo.
        points = driver.find_element(*by_test('editor-points-graph'))
        size = points.size
        with_gamma = settled_pixels(driver, 'graph-editor')
        ActionChains(driver).move_to_element_with_offset(points, -size['width'] // 6, size['height'] // 8) \
            .click_and_hold().move_by_offset(6, -10).move_by_offset(6, -10).release().perform()
        wait_for(driver, 'three points', lambda: len(value_of(driver, 'editor-points').split()) == 3)
        wait_for(driver, 'the graph drawn with the points', lambda: graph_pixels(driver, 'graph-editor')
                 not in (None, with_gamma) and '--points' in driver.find_element(*by_test('editor-summary')).text)
        dragged = value_of(driver, 'editor-points')

        # The boost slid.
        with_points = settled_pixels(driver, 'graph-editor')
        boost = driver.find_element(*by_test('editor-boost'))
        drag(driver, boost, 40)
        if boost.get_attribute('value') == '0':
            fail('the boost slider did not move')
        wait_for(driver, 'the graph drawn with the boost', lambda: graph_pixels(driver, 'graph-editor')
                 not in (None, with_points))

        # A point out of range, typed: refused in the command's words, the points kept.
        # (Typed over: an emptied field is a change of its own, to no points.)
        text = driver.find_element(*by_test('editor-points'))
        text.send_keys(Keys.CONTROL, 'a')
        text.send_keys('0,0 50,140 100,100\n')
        wait_for(driver, 'the refusal', lambda: messages(driver) ==
                 ['--points: point 2 "50,140": y must lie within 0...100'])

        # The boost undone, then the point added and dragged; then both redone.
        undo, redo = driver.find_element(*by_test('editor-undo')), driver.find_element(*by_test('editor-redo'))
        undo.click()
        wait_for(driver, 'the boost undone', lambda: value_of(driver, 'editor-boost') == '0'
                 and value_of(driver, 'editor-points') == dragged)
        undo.click()
        wait_for(driver, 'the points undone', lambda: value_of(driver, 'editor-points') == ''
                 and value_of(driver, 'editor-gamma') == '1.35')
        redo.click()
        wait_for(driver, 'the points redone', lambda: value_of(driver, 'editor-points') == dragged)
        redo.click()
        wait_for(driver, 'the boost redone', lambda: value_of(driver, 'editor-boost') != '0')
        if redo.is_enabled():
            fail('there is still something to redo')
        settled_pixels(driver, 'graph-editor')
        driver.save_screenshot(os.path.join(output, 'serve-editor.png'))

        # The file saved, as the command writes it with what the page shows.
        options = ['--points', value_of(driver, 'editor-points'), '--gamma', value_of(driver, 'editor-gamma'),
                   '--boost', value_of(driver, 'editor-boost')]
        saved = saved_by_browser(driver, 'download-edited-quad', downloads, 'pt-pd-8ch-edited.quad')
        expected = os.path.join(work, 'expected.quad')
        run = subprocess.run([program, 'edit', quad, '--channel', 'K'] + options + ['--out', expected],
                             check=True, capture_output=True, text=True)
        with open(expected, 'rb') as b:
            if saved != b.read():
                fail('the downloaded .quad differs from `inkcurve edit --channel K %s`' % ' '.join(options))
        summary = driver.find_element(*by_test('editor-summary')).text.splitlines()
        said = run.stdout.splitlines()
        if summary != [said[0].replace(quad, 'pt-pd-8ch.quad'), said[1].split(';')[0]]:
            fail('the page says %r, the command %r' % (summary, said))
    print('the editor screen works in Chromium (%.1f s); screenshot: %s' % (
        time.monotonic() - started, os.path.join(output, 'serve-editor.png')))


if __name__ == '__main__':
    main()
