#!/usr/bin/env python3
"""The linearization page's target curve, undo and redo, and a page saved and
opened again, in headless Chromium: a point added and dragged on the target
gives the .quad `linearize --target-points` writes; undo and redo walk back
and forth; the saved page, opened on a new page, gives the same .quad; a
damaged one is refused and changes nothing.

Usage: history_page_test.py INKCURVE EXAMPLES
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_page_test import (by_test, fail, page_in_browser, saved_by_browser, wait_for, summary_lines,
                             texts, graph_pixels, settled_pixels)  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402


def target_text(driver):
    return driver.find_element(By.ID, 'target-points-text').text


def downloaded(driver, folder, name):
    driver.execute_script("document.querySelectorAll('details').forEach(e => e.open = true)")
    return saved_by_browser(driver, 'download-quad' if name.endswith('.quad') else 'save-state', folder, name)


def main():
    program, examples = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    wedge = os.path.join(examples, 'wedge-21.txt')
    quad = os.path.join(examples, 'pt-pd-8ch.quad')
    with page_in_browser(program, 'inkcurve-history-page-') as session:
        driver, address, work, downloads, output = (session.driver, session.address, session.work,
                                                    session.downloads, session.output)

        def expected(points):
            out = os.path.join(work, 'expected.quad')
            subprocess.run([program, 'linearize', wedge, quad, '--out', out, '--target-points', points],
                           check=True, stdout=subprocess.DEVNULL)
            with open(out, 'rb') as f:
                return f.read()

        driver.set_window_size(1400, 1500)
        driver.find_element(*by_test('measurement-file')).send_keys(wedge)
        driver.find_element(*by_test('quad-file')).send_keys(quad)
        wait_for(driver, 'the channels corrected',
                 lambda: any(l.startswith('channels corrected:') for l in summary_lines(driver)))
        before = settled_pixels(driver, 'graph-measurements')
        if target_text(driver) != '--target-points "0,100 100,0"':
            fail('the target starts as %r' % target_text(driver))

        # A point added in the middle of the target, then dragged up: a softer print.
        curve = driver.find_element(*by_test('target-curve'))
        driver.execute_script('arguments[0].scrollIntoView({block: "center"})', curve)
        size = curve.size

        def offset(x, y):  # percent on the 200-unit square of a 224-unit view from -12, -8
            return ((x * 2 + 12) / 224 - 0.5) * size['width'], ((208 - y * 2) / 224 - 0.5) * size['height']

        ActionChains(driver).move_to_element_with_offset(curve, *offset(50, 60)).click().perform()
        wait_for(driver, 'the point added', lambda: target_text(driver).count(',') == 3)
        added = target_text(driver)
        wait_for(driver, 'the point sent', lambda: not driver.find_element(*by_test('undo')).get_attribute('disabled'))
        point = driver.find_element(By.CSS_SELECTOR, '#target-curve circle[data-index="1"]')
        ActionChains(driver).click_and_hold(point).move_by_offset(0, -8).move_by_offset(0, -8) \
            .move_by_offset(0, -8).release().perform()
        wait_for(driver, 'the point dragged', lambda: target_text(driver) != added)
        dragged = target_text(driver).split('"')[1]
        wait_for(driver, 'the graphs with the new target',
                 lambda: graph_pixels(driver, 'graph-measurements') not in (None, before))
        settled_pixels(driver, 'graph-measurements')
        driver.execute_script('window.scrollTo(0, 0)')
        driver.save_screenshot(os.path.join(output, 'serve-target.png'))
        if downloaded(driver, downloads, 'pt-pd-8ch-corrected.quad') != expected(dragged):
            fail('the .quad differs from `linearize --target-points "%s"`' % dragged)

        # Undo takes the whole drag back, then the point; redo brings them again.
        undo, redo = driver.find_element(*by_test('undo')), driver.find_element(*by_test('redo'))
        for button, shown in ((undo, added), (undo, '--target-points "0,100 100,0"'), (redo, added),
                              (redo, '--target-points "%s"' % dragged)):
            button.click()
            wait_for(driver, 'the target %s after %s' % (shown, button.text), lambda: target_text(driver) == shown)

        # The page saved, and opened on a new page: the same .quad.
        saved = downloaded(driver, downloads, 'wedge-21-page.json')
        damaged = os.path.join(work, 'damaged.json')
        with open(damaged, 'wb') as f:
            f.write(saved[: len(saved) // 2])
        whole = os.path.join(work, 'page.json')
        with open(whole, 'wb') as f:
            f.write(saved)
        driver.get(address)
        wait_for(driver, 'a new page', lambda: driver.find_element(By.TAG_NAME, 'body').get_attribute('data-ready'))
        driver.find_element(*by_test('load-state')).send_keys(damaged)
        wait_for(driver, 'the damaged page refused',
                 lambda: any('not a page saved by inkcurve serve' in t for t in texts(driver, 'warnings')))
        if summary_lines(driver) != ['Open a measurement file to begin.']:
            fail('a damaged page changed the page: %r' % summary_lines(driver))
        driver.find_element(*by_test('load-state')).send_keys(whole)
        wait_for(driver, 'the saved page opened', lambda: target_text(driver) == '--target-points "%s"' % dragged
                 and any(l.startswith('channels corrected:') for l in summary_lines(driver)))
        if downloaded(driver, downloads, 'pt-pd-8ch-corrected.quad') != expected(dragged):
            fail('the saved page opened again gives another .quad')
    print('target, undo, redo and a saved page work in Chromium; screenshot: %s'
          % os.path.join(output, 'serve-target.png'))


if __name__ == '__main__':
    main()
