#!/usr/bin/env python3
"""`inkcurve serve`'s graphs under the mouse, in headless Chromium: a click
on a step's ring of the measurement graph shows that step and its L* (as the
readings table gives it) below the graph and draws the highlight; the wheel
zooms and a drag pans (the graph changes each time); a double click shows
the whole graph again. Screenshots are kept.

usage: touch_page_test.py INKCURVE EXAMPLES-FOLDER
Chromium, chromedriver and the output folder as serve_page_test.py finds
them.
"""

import os
import re
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_page_test import by_test, fail, graph_pixels, page_in_browser, wait_for  # noqa: E402

GRAPH = 'graph-measurements'


def offset(driver, img, x, y):
    """Graph pixels (x, y) as an offset from the image's centre on the page,
    as Selenium moves to it."""
    box = driver.execute_script(
        'const r = arguments[0].getBoundingClientRect();'
        'return [r.width, r.height, arguments[0].naturalWidth, arguments[0].naturalHeight];', img)
    return (round(x * box[0] / box[2] - box[0] / 2), round(y * box[1] / box[3] - box[1] / 2))


def readout(driver):
    return driver.execute_script(
        'const e = document.querySelector(\'[data-test="highlight-value"][data-graph="measurements"]\');'
        'return e ? e.textContent : null;')


def zoomed(driver, img):
    return img.get_attribute('data-zoomed') == 'true'


def main():
    program, examples = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    started = time.monotonic()
    with page_in_browser(program, 'inkcurve-touch-page-') as session:
        driver, output = session.driver, session.output
        driver.find_element(*by_test('measurement-file')).send_keys(os.path.join(examples, 'wedge-21.txt'))
        driver.find_element(*by_test('quad-file')).send_keys(os.path.join(examples, 'pt-pd-8ch.quad'))
        wait_for(driver, 'the measurement graph', lambda: graph_pixels(driver, GRAPH))
        rows = driver.find_elements(By.CSS_SELECTOR, '[data-test="readings-table"] tbody tr')
        table = {int(r.get_attribute('data-step')): r.find_element(By.CSS_SELECTOR, 'input[data-key="L"]')
                 .get_attribute('value') for r in rows}
        img = driver.find_element(*by_test(GRAPH))
        plain = graph_pixels(driver, GRAPH)

        # Step 11 (input 50 %, L* 34.76) lies about here on the 800 x 1000
        # graph; clicks go up and down from there until a ring answers.
        seen = None
        for dy in (0, -12, 12, -24, 24, -36, 36, -48, 48):
            ActionChains(driver).move_to_element_with_offset(img, *offset(driver, img, 411, 654 + dy)).click() \
                .perform()
            deadline = time.monotonic() + 2
            while not readout(driver) and time.monotonic() < deadline:
                time.sleep(0.05)
            seen = readout(driver)
            if seen:
                break
        found = re.fullmatch(r'step (\d+): L\* (\d+\.\d\d)', seen or '')
        if not found:
            fail('a click on the rings shows %r' % seen)
        step, L = int(found.group(1)), found.group(2)
        if table.get(step) != L:
            fail('the graph says step %d has L* %s, the table %s' % (step, L, table.get(step)))
        wait_for(driver, 'the highlight drawn', lambda: graph_pixels(driver, GRAPH) not in (None, plain))
        tapped = graph_pixels(driver, GRAPH)
        driver.save_screenshot(os.path.join(output, 'touch-tapped.png'))

        # The wheel zooms about the pointer; the highlight stays.
        ActionChains(driver).scroll_from_origin(ScrollOrigin.from_element(img, *offset(driver, img, 411, 654)),
                                                0, -600).perform()
        wait_for(driver, 'the graph zoomed', lambda: zoomed(driver, img)
                 and graph_pixels(driver, GRAPH) not in (None, tapped))
        time.sleep(0.5)
        zoomed_in = graph_pixels(driver, GRAPH)
        if readout(driver) != seen:
            fail('zooming changed the value shown: %r, not %r' % (readout(driver), seen))
        driver.save_screenshot(os.path.join(output, 'touch-zoomed.png'))

        # A drag pans, and is no tap.
        ActionChains(driver).move_to_element_with_offset(img, *offset(driver, img, 300, 500)).click_and_hold() \
            .move_by_offset(40, -20).move_by_offset(60, -30).release().perform()
        wait_for(driver, 'the graph panned', lambda: graph_pixels(driver, GRAPH) not in (None, zoomed_in))
        if readout(driver) != seen:
            fail('a drag changed the value shown: %r, not %r' % (readout(driver), seen))
        driver.save_screenshot(os.path.join(output, 'touch-panned.png'))

        # A double click on the title (far from every ring: its first click
        # clears the highlight) shows the whole graph again.
        panned = graph_pixels(driver, GRAPH)
        ActionChains(driver).move_to_element_with_offset(img, *offset(driver, img, 400, 30)).double_click().perform()
        try:
            wait_for(driver, 'the whole graph again', lambda: not zoomed(driver, img) and not readout(driver)
                     and graph_pixels(driver, GRAPH) not in (None, panned))
        finally:
            driver.save_screenshot(os.path.join(output, 'touch-reset.png'))
        if readout(driver):
            fail('after the double click the graph still shows %r' % readout(driver))
        driver.save_screenshot(os.path.join(output, 'touch-reset.png'))
    print('the graphs answer the mouse in Chromium (%.1f s): %s; screenshots in %s'
          % (time.monotonic() - started, seen, output))


if __name__ == '__main__':
    main()
