#!/usr/bin/env python3
"""A load on `inkcurve serve` from this machine alone (127.0.0.1): PAGES
pages at once, each opening the example wedge (under a name of its own) and
.quad, then moving a slider MOVES times as the page does (the new setting,
then both graphs, one request on its way at a time), checking that every
answer is its own page's (its file's name, its setting, and a graph drawn
again at a setting it had before the same as then); then each page closed. Bounded in requests and in
time (DEADLINE seconds). Prints the errors, the time a move takes and the
server's resident memory before, at its peak and after.

usage: serve_load.py INKCURVE EXAMPLES-FOLDER [PAGES [MOVES [DEADLINE [ROUNDS]]]]
ROUNDS (1) runs the whole load again on the same server, the resident
memory printed after each: what one round leaves, the next reuses.
Not a test of the suite: it runs for a minute or two.
"""

import http.client
import json
import re
import signal
import statistics
import subprocess
import sys
import threading
import time


def rss_kb(pid, field='VmRSS'):
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith(field + ':'):
                return int(line.split()[1])
    return 0


def main():
    program, examples = sys.argv[1], sys.argv[2]
    pages = int(sys.argv[3]) if len(sys.argv) > 3 else 50
    moves = int(sys.argv[4]) if len(sys.argv) > 4 else 200
    deadline = time.monotonic() + (float(sys.argv[5]) if len(sys.argv) > 5 else 300)
    rounds = int(sys.argv[6]) if len(sys.argv) > 6 else 1
    wedge = open(examples + '/wedge-21.txt', 'rb').read()
    quad = open(examples + '/pt-pd-8ch.quad', 'rb').read()

    server = subprocess.Popen([program, 'serve', '--port', '0'], stdout=subprocess.PIPE, text=True)
    found = re.search(r'http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]+)', server.stdout.readline())
    port, token = int(found.group(1)), found.group(2)
    headers = {'Cookie': 'inkcurve-%d=%s' % (port, token), 'Origin': 'http://127.0.0.1:%d' % port}
    time.sleep(0.2)
    before = rss_kb(server.pid)

    lock = threading.Lock()
    errors, times, counts = [], [], {'requests': 0}
    start = threading.Barrier(pages)

    def page(n):
        connection = http.client.HTTPConnection('127.0.0.1', port, timeout=30)

        def send(method, path, body=None, kind='application/json'):
            connection.request(method, path, body=body, headers=dict(headers, **{'Content-Type': kind}))
            response = connection.getresponse()
            data = response.read()
            with lock:
                counts['requests'] += 1
            if response.status not in (200, 204):
                raise RuntimeError('%s %s: %d %s' % (method, path, response.status, data[:200]))
            return data

        name = 'wedge-%02d.txt' % n
        seen = {}
        try:
            start.wait()
            state = json.loads(send('POST', '/api/pages', b''))
            base = '/api/pages/' + state['page']
            send('POST', base + '/measurements?name=' + name, wedge, 'application/octet-stream')
            send('POST', base + '/quad?name=pt-pd-8ch.quad', quad, 'application/octet-stream')
            for move in range(moves):
                if time.monotonic() > deadline:
                    raise RuntimeError('stopped at the deadline after %d moves' % move)
                value = (n * 7 + move * 3) % 101
                began = time.monotonic()
                state = json.loads(send('POST', base + '/settings', json.dumps({'smoothing': value})))
                if state['measurementFile'] != name or state['smoothing'] != value:
                    raise RuntimeError('page %d was answered with %s at smoothing %s' %
                                       (n, state['measurementFile'], state['smoothing']))
                for graph in ('measurements', 'ink'):
                    # Cairo numbers its surfaces across the process.
                    svg = re.sub(rb'surface\d+', b'surface', send('GET', base + '/graphs/%s.svg' % graph))
                    # The graph titled with this page's file name, at a setting
                    # the page had before, is drawn as it was then.
                    drawn = seen.setdefault((graph, value), svg)
                    if not svg.startswith(b'<?xml') or drawn != svg:
                        raise RuntimeError('page %d: the %s graph at %d differs from the one drawn before' %
                                           (n, graph, value))
                with lock:
                    times.append(time.monotonic() - began)
            send('DELETE', base)
        except Exception as e:  # every failure is counted, the others go on
            with lock:
                errors.append('page %d: %s' % (n, e))
        finally:
            connection.close()

    peak_sampler_done = threading.Event()
    peak = [before]

    def sample():
        while not peak_sampler_done.wait(0.05):
            peak[0] = max(peak[0], rss_kb(server.pid))

    sampler = threading.Thread(target=sample)
    sampler.start()
    began = time.monotonic()
    after = []
    for _ in range(rounds):
        threads = [threading.Thread(target=page, args=(n,)) for n in range(pages)]
        start.reset()
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        time.sleep(0.5)
        after.append(rss_kb(server.pid))
    elapsed = time.monotonic() - began
    peak_sampler_done.set()
    sampler.join()
    server.send_signal(signal.SIGINT)
    status = server.wait(10)

    times.sort()
    print('%d pages x %d moves (a setting and both graphs each)%s: %d requests in %.1f s, %.0f requests/s' %
          (pages, moves, ', %d rounds' % rounds if rounds > 1 else '', counts['requests'], elapsed,
           counts['requests'] / elapsed))
    if times:
        print('a move: median %.1f ms, 95th percentile %.1f ms, slowest %.1f ms' %
              (1000 * statistics.median(times), 1000 * times[int(0.95 * (len(times) - 1))], 1000 * times[-1]))
    print('server RSS: %d KB before, %d KB at the peak, %s KB after the pages closed' %
          (before, peak[0], ', '.join(str(a) for a in after)))
    print('errors: %d' % len(errors))
    for e in errors[:20]:
        print('  ' + e)
    print('server stopped with status %d' % status)
    sys.exit(1 if errors or status != 0 else 0)


if __name__ == '__main__':
    main()
