#!/usr/bin/python3
"""kelvane-web in headless Chromium: the number tab from Generate to the rows
painted (10^5 and 10^6 rows), and a 10^5-row string run from Generate to
the exported file on disk; kelvane-cli making the same rows to a file is the
peer, timed in the same run. Medians of RUNS runs (default 5).

usage: bench/web_page.py FOLDER KELVANE_CLI   (after ./test, or
       tools/deps.sh's kelvane_build_web and a build of kelvane-cli)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

folder, cli = (os.path.abspath(a) for a in sys.argv[1:3])
runs = int(os.environ.get('RUNS', '5'))
tmp = tempfile.mkdtemp()
downloads = os.path.join(tmp, 'downloads')
os.mkdir(downloads)
o = webdriver.ChromeOptions()
o.binary_location = '/usr/bin/chromium'
for a in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
          '--disable-background-networking', '--disable-component-update', '--disable-sync',
          '--user-data-dir=' + os.path.join(tmp, 'profile'), '--window-size=800,760'):
    o.add_argument(a)
d = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=o)
d.execute_cdp_cmd('Page.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': downloads})
d.get('file://' + os.path.join(folder, 'index.html') + '?seed=bench')
WebDriverWait(d, 20).until(lambda d: d.execute_script("return document.getElementById('app').dataset.ready"))
ctl = lambda page, cid: d.find_element(By.CSS_SELECTOR, '#page-%d [data-id="%d"]' % (page, cid))


def close_box():
    WebDriverWait(d, 300).until(lambda d: d.find_element(By.CSS_SELECTOR, '.modal:not([hidden]) button')).click()


def typed(page, cid, text):
    ctl(page, cid).clear()
    ctl(page, cid).send_keys(text)


def cli_seconds(*args):
    start = time.perf_counter()
    subprocess.run([cli, *args, '--seed', 'bench', '--encoding', 'gbk', '--eol', 'crlf',
                    '--out', os.path.join(tmp, 'peer.txt')], check=True)
    return time.perf_counter() - start


def number_rows(count):
    """Generate to the rows laid out and painted, timed in the page."""
    typed(1, 1022, str(count))
    seconds = d.execute_async_script("""
        const done = arguments[0], t0 = performance.now();
        document.querySelector('#page-1 [data-id="1024"]').click();
        const area = document.querySelector('#page-1 [data-id="1026"]');
        area.scrollTop = 0;
        requestAnimationFrame(() => setTimeout(() => done((performance.now() - t0) / 1000), 0));""")
    close_box()
    return seconds


def string_export(count):
    """Generate to the exported GBK file complete on disk, timed from here."""
    typed(0, 1017, str(count))
    for f in os.listdir(downloads):
        os.remove(os.path.join(downloads, f))
    start = time.perf_counter()
    ctl(0, 1011).click()
    close_box()
    ctl(0, 1012).click()
    WebDriverWait(d, 10).until(lambda d: d.find_element(By.CSS_SELECTOR, '[data-role="save"]')).click()
    path = os.path.join(downloads, '随机字符串.txt')
    WebDriverWait(d, 300, poll_frequency=0.01).until(lambda _: os.path.exists(path))
    return time.perf_counter() - start


def report(name, page, peer):
    p, q = statistics.median(page), statistics.median(peer)
    print('%-40s page %7.3f s   kelvane-cli %7.3f s   page/cli %5.1fx' % (name, p, q, p / q))


try:
    d.find_element(By.ID, 'tab-1').click()
    for count in (10**5, 10**6):
        page = [number_rows(count) for _ in range(runs)]
        peer = [cli_seconds('numbers', '--count', str(count)) for _ in range(runs)]
        report('numbers, %d integer rows shown' % count, page, peer)
    d.find_element(By.ID, 'tab-0').click()
    page = [string_export(10**5) for _ in range(runs)]
    peer = [cli_seconds('strings', '--count', str(10**5)) for _ in range(runs)]
    report('strings, 100000 rows made and exported', page, peer)
    print('folder: %d bytes' % sum(os.path.getsize(os.path.join(folder, f)) for f in os.listdir(folder)))
finally:
    d.quit()
