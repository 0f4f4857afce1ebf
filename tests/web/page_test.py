#!/usr/bin/python3
"""kelvane-web in headless Chromium, driven as a user drives it: clicks,
typing, Tab, the boxes, Export and the downloaded bytes. Seeded rows are
compared with kelvane-cli's for the same seed and options.

usage: page_test.py FOLDER KELVANE_CLI   (FOLDER holds index.html)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.expected_conditions import staleness_of
from selenium.webdriver.support.ui import WebDriverWait

FOLDER = CLI = None
SEED = 'fixture-1'


def start_browser(profile, downloads):
    o = webdriver.ChromeOptions()
    o.binary_location = '/usr/bin/chromium'
    for a in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
              '--disable-background-networking', '--disable-component-update', '--disable-sync',
              '--user-data-dir=' + profile, '--window-size=800,760', '--lang=zh-CN'):
        o.add_argument(a)
    d = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=o)
    d.execute_cdp_cmd('Page.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': downloads})
    return d


def cli(*args):
    return subprocess.run([CLI, *args], check=True, capture_output=True).stdout


class Page:
    """The page in one browser profile (its own localStorage)."""

    def __init__(self, driver, downloads):
        self.d, self.downloads = driver, downloads

    def open(self, query=''):
        self.d.get('file://' + os.path.join(FOLDER, 'index.html') + query)
        WebDriverWait(self.d, 20).until(lambda d: d.execute_script(
            "return document.getElementById('app').dataset.ready === '1'"))

    def reset(self):
        """Empties the store from another file:// page (the page itself stores
        its options as it goes away)."""
        blank = os.path.join(self.downloads, '..', 'blank.html')
        with open(blank, 'w') as f:
            f.write('<!doctype html><title>blank</title>')
        self.d.get('file://' + os.path.abspath(blank))
        self.d.execute_script('localStorage.clear()')

    def tab(self, index):
        self.d.find_element(By.ID, 'tab-%d' % index).click()
        return self.d.find_element(By.ID, 'page-%d' % index)

    def ctl(self, index, cid):
        return self.d.find_element(By.CSS_SELECTOR, '#page-%d [data-id="%d"]' % (index, cid))

    def type(self, index, cid, text):
        e = self.ctl(index, cid)
        e.send_keys(Keys.CONTROL, 'a')
        e.send_keys(Keys.DELETE)
        if text:
            e.send_keys(text)

    def check(self, index, cid, on):
        e = self.ctl(index, cid)
        if e.is_selected() != on:
            e.click()

    def click(self, index, cid):
        self.ctl(index, cid).click()

    def box(self, timeout=30):
        """The open box as (kind, caption, text); closes it with its OK button."""
        box = WebDriverWait(self.d, timeout).until(
            lambda d: d.find_element(By.CSS_SELECTOR, '.modal:not([hidden]) [aria-modal="true"]'))
        kind = box.get_attribute('data-box')
        caption = box.find_element(By.CLASS_NAME, 'caption').text
        text = box.find_element(By.ID, 'box-text').text
        self.assertFocused(box.find_element(By.TAG_NAME, 'button'))
        self.d.switch_to.active_element.send_keys(Keys.ENTER)
        WebDriverWait(self.d, 5).until(staleness_of(box))
        return kind, caption, text

    def assertFocused(self, e):
        assert self.d.switch_to.active_element == e, 'the box does not take the focus'

    def export(self, index, cid, name, encoding):
        """Export through the save dialog; returns the downloaded bytes."""
        for f in os.listdir(self.downloads):
            os.remove(os.path.join(self.downloads, f))
        self.click(index, cid)
        box = WebDriverWait(self.d, 10).until(
            lambda d: d.find_element(By.CSS_SELECTOR, '.modal:not([hidden]) [data-box="save"]'))
        field = box.find_element(By.ID, 'save-name')
        field.send_keys(Keys.CONTROL, 'a')
        field.send_keys(name)
        box.find_element(By.CSS_SELECTOR, '#save-type option[value="%s"]' % encoding).click()
        box.find_element(By.CSS_SELECTOR, '[data-role="save"]').click()
        path = os.path.join(self.downloads, name)
        WebDriverWait(self.d, 60).until(lambda d: os.path.exists(path) and not [
            f for f in os.listdir(self.downloads) if f.endswith('.crdownload')])
        with open(path, 'rb') as f:
            return f.read()

    def output(self, index, cid):
        """The output box's text, whether a text area or the view of a long text shows it."""
        return self.d.execute_script('return arguments[0].outputBox.value', self.ctl(index, cid))


class WebPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.downloads = os.path.join(cls.tmp, 'downloads')
        os.mkdir(cls.downloads)
        cls.driver = start_browser(os.path.join(cls.tmp, 'profile'), cls.downloads)
        cls.page = Page(cls.driver, cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def setUp(self):
        self.page.reset()
        self.page.open('?seed=' + SEED)

    # --- strings --------------------------------------------------------------

    def set_strings(self, kinds, length, count, head='', tail='', insert='', special=None, exclude=None):
        p = self.page
        for cid, on in zip((1002, 1003, 1004, 1007), kinds):
            p.check(0, cid, on)
        p.type(0, 1015, length[0])
        p.type(0, 1016, length[1])
        p.type(0, 1017, count)
        p.type(0, 1005, head)
        p.type(0, 1006, tail)
        p.type(0, 1008, insert)
        p.check(0, 1014, special is not None)
        if special is not None:
            p.type(0, 1009, special)
        p.check(0, 1018, exclude is not None)
        if exclude is not None:
            p.type(0, 1013, exclude)

    def generate(self, index, cid):
        self.page.click(index, cid)
        self.assertEqual(self.page.box(timeout=120), ('plain', '', '生成成功！'))

    def test_seeded_strings_match_the_cli(self):
        """Box runs and runs past the box, with Chinese characters, specials,
        excludes, inserts, head and tail: the page's Export gives the CLI's
        bytes for the same seed, in GBK and in UTF-8."""
        p = self.page
        cases = [
            # kinds (upper, lower, digits, hz), length, count, head, tail, insert, special, exclude
            # the head's private-use character is GBK 0xA6D9 on the desktop too;
            # spaces in the two lists are dropped before the run
            ((1, 1, 1, 1), ('6', '10'), '50', 'ab\ue78d', '尾', '5|X|3|汉', '! @#', '0O 1lI'),
            ((0, 1, 0, 1), ('3', '3'), '1000', '', '', '', '中!', None),
            ((0, 0, 1, 0), ('8', '8'), '20000', '138', '', '', None, '4'),
            ((1, 0, 0, 1), ('1', '40'), '70001', '', '.com', '2|-', '#$%^&*', '甲乙AEIOU'),
        ]
        for kinds, length, count, head, tail, insert, special, exclude in cases:
            with self.subTest(count=count, insert=insert):
                self.set_strings(kinds, length, count, head, tail, insert, special, exclude)
                self.generate(0, 1011)
                args = ['strings', '--seed', SEED, '--length', '%s-%s' % length, '--count', count,
                        '--head', head, '--tail', tail, '--insert', insert, '--eol', 'crlf']
                args += [flag for flag, on in zip(('--upper', '--lower', '--digits', '--hz'), kinds) if on]
                args += ['--special', special] if special is not None else ['--no-special']
                args += ['--exclude', exclude] if exclude is not None else ['--no-exclude']
                want_gbk = cli(*args, '--encoding', 'gbk')
                want_utf8 = cli(*args, '--encoding', 'utf8')
                if int(count) <= 1000:
                    self.assertEqual(p.output(0, 1010), want_utf8.decode().replace('\r\n', '\n'))
                else:
                    self.assertEqual(p.output(0, 1010), '生成完成，请单击导出按钮。')
                self.assertEqual(p.export(0, 1012, 'rows-gbk.txt', 'gbk'), want_gbk)
                self.assertEqual(p.export(0, 1012, 'rows-utf8.txt', 'utf8'), want_utf8)

    def test_string_messages(self):
        """Each refusal in its box, with the window's text; nothing runs."""
        p = self.page
        p.type(0, 1010, '')
        p.click(0, 1012)
        self.assertEqual(p.box(), ('plain', '', '没有可导出的内容，请先生成。'))
        cases = [
            (dict(kinds=(0, 0, 0, 0), length=('8', '16'), count='10'), '至少指定一种字符类型！'),
            (dict(kinds=(1, 0, 0, 0), length=('9', '3'), count='10'), '生成长度设定无效！'),
            (dict(kinds=(0, 0, 1, 0), length=('4', '4'), count='10', exclude='0123456789'),
             '排除字符设定无效，所选类型的字符已全部排除！'),
            # a character GBK cannot hold, in the first box the window reads
            (dict(kinds=(1, 0, 0, 0), length=('4', '4'), count='10', head='x한', special='한'),
             '“特殊字符”中含有 GBK 无法表示的字符“한”（U+D55C），请修改后再生成。'),
            # a character of a later edition, where GBK has a private-use one
            (dict(kinds=(1, 0, 0, 0), length=('4', '4'), count='10', head='x\ufe10', special='!'),
             '“头部”中含有 GBK 无法表示的字符“\ufe10”（U+FE10），请修改后再生成。'),
        ]
        for settings, message in cases:
            with self.subTest(message=message):
                self.set_strings(**settings)
                p.click(0, 1011)
                self.assertEqual(p.box(), ('plain', '', message))
                self.assertTrue(p.ctl(0, 1011).is_enabled())

    def test_long_string_run_keeps_the_page_responsive(self):
        """A run past the box shows a progress line and refuses Export until done."""
        p = self.page
        self.set_strings((1, 1, 1, 1), ('300', '500'), '100000')
        p.click(0, 1011)
        # Seen in one go while the run is under way: the progress line, Generate
        # disabled, and Export clicked.
        seen = WebDriverWait(p.d, 30, poll_frequency=0.01).until(lambda d: d.execute_script(
            "const line = document.querySelector('#page-0 .progress').textContent;"
            "if (!line) return null;"
            "const generate = document.querySelector('#page-0 [data-id=\"1011\"]');"
            "document.querySelector('#page-0 [data-id=\"1012\"]').click();"
            "return [line, generate.disabled];"))
        self.assertRegex(seen[0], r'^\d+ / 100000 行 \(\d+%\)$')
        self.assertTrue(seen[1])
        self.assertEqual(p.box(), ('plain', '', '正在生成，请在生成完成后再导出。'))
        self.assertEqual(p.box(timeout=120), ('plain', '', '生成成功！'))
        self.assertEqual(p.d.find_element(By.CSS_SELECTOR, '#page-0 .progress').text, '')
        # A run too large for the page's memory stops with a message and
        # leaves nothing half made to export.
        p.d.execute_script('Module.runBytesLimit = 4e6')
        p.click(0, 1011)
        kind, _, text = p.box(timeout=120)
        self.assertEqual(kind, 'plain')
        self.assertTrue(text.startswith('生成的结果超过 1 GB'))
        self.assertTrue(p.ctl(0, 1011).is_enabled())
        p.click(0, 1012)
        self.assertEqual(p.box(), ('plain', '', '没有可导出的内容，请先生成。'))

    # --- numbers --------------------------------------------------------------

    def test_seeded_numbers_match_the_cli(self):
        p = self.page
        p.tab(1)
        cases = [((1, 0), '80', '100', '10', '2', []),
                 ((1, 1), '-50', '50', '30000', '3', ['--int', '--float']),
                 ((0, 1), '0.5', '2', '5000', '5', ['--float'])]
        for kinds, lo, hi, count, decimals, flags in cases:
            with self.subTest(flags=flags):
                p.check(1, 1018, kinds[0])
                p.check(1, 1019, kinds[1])
                for cid, text in ((1020, lo), (1021, hi), (1022, count), (1023, decimals)):
                    if p.ctl(1, cid).is_enabled():
                        p.type(1, cid, text)
                self.generate(1, 1024)
                args = ['numbers', '--seed', SEED, '--min=' + lo, '--max=' + hi, '--count', count,
                        '--decimals', decimals, '--eol', 'crlf', '--encoding', 'gbk'] + flags
                want = cli(*args)
                rows = want.decode().replace('\r\n', '\n')
                self.assertEqual(p.output(1, 1026), rows)
                self.assertEqual(p.export(1, 1025, 'n.txt', 'gbk'), want)
                self.generate(1, 1024)  # every Generate of a seeded page gives the same rows
                self.assertEqual(p.output(1, 1026), rows)
                if int(count) > 5000:
                    # Too many lines for a text area: the view draws the lines
                    # in sight, down to the last row.
                    shown = p.d.execute_script(
                        "const v = document.querySelector('[data-view=\"1026\"]');"
                        "v.scrollTop = v.scrollHeight; v.dispatchEvent(new Event('scroll'));"
                        "return v.querySelector('.lines').textContent;")
                    self.assertTrue(shown.endswith(rows.splitlines()[-1]))
                    self.assertIn(shown.splitlines()[0] + '\n', rows)

    def test_number_messages_and_export_needs_utf8(self):
        p = self.page
        p.tab(1)
        p.check(1, 1018, False)
        p.check(1, 1019, False)
        p.click(1, 1024)
        self.assertEqual(p.box(), ('warning', '警告', '至少指定一种数字类型！'))
        p.check(1, 1018, True)
        p.type(1, 1022, '2000001')
        p.click(1, 1024)
        self.assertEqual(p.box(), ('warning', '警告', '生成个数不能超过2000000个！'))
        # Text typed into the box that GBK cannot hold: GBK export refused, UTF-8 saved.
        p.type(1, 1026, '12 한')
        p.click(1, 1025)
        save = p.d.find_element(By.CSS_SELECTOR, '[data-box="save"]')
        save.find_element(By.CSS_SELECTOR, '[data-role="save"]').click()
        self.assertEqual(p.box(), ('plain', '', '结果中含有 GBK 无法表示的字符，请选择 UTF-8 文本格式导出。'))
        self.assertEqual(p.export(1, 1025, 'u.txt', 'utf8'), '12 한'.encode())

    # --- time -----------------------------------------------------------------

    def test_time_run(self):
        """Events at page timers with local times; no program is ever opened."""
        p = self.page
        p.tab(2)
        self.assertFalse(p.ctl(2, 1014).is_enabled())
        self.assertFalse(p.ctl(2, 1013).is_enabled())
        self.assertIn('不能启动外部程序', p.d.find_element(By.ID, 'no-program-note').text)
        p.type(2, 1007, '9')
        p.type(2, 1009, '3')
        p.click(2, 1028)
        self.assertEqual(p.box(), ('plain', '', '发生间隔设定无效！'))
        p.type(2, 1007, '0')
        p.type(2, 1009, '60')
        p.type(2, 1008, '0')
        p.click(2, 1028)
        self.assertEqual(p.box(), ('plain', '', '生成个数设定无效！'))
        p.type(2, 1008, '4')
        p.click(2, 1028)
        self.assertEqual(p.box(timeout=10), ('plain', '', '生成成功！'))
        lines = p.output(2, 1027).split('\n')
        self.assertEqual(len(lines), 5)  # four events, each line ending
        self.assertEqual(lines[-1], '')
        today = p.d.execute_script(
            "const d = new Date(); return d.getFullYear() + '-' + String(d.getMonth() + 1).padStart(2, '0')"
            " + '-' + String(d.getDate()).padStart(2, '0')")
        for line in lines[:-1]:
            self.assertRegex(line, r'^%s   \d\d:\d\d:\d\d$' % today)
        self.assertTrue(p.ctl(2, 1028).is_enabled())
        self.assertEqual(p.export(2, 1029, 't.txt', 'gbk'), '\r\n'.join(lines).encode())

    # --- the window -----------------------------------------------------------

    def test_one_small_folder_that_fetches_nothing(self):
        files = {f: os.path.getsize(os.path.join(FOLDER, f)) for f in os.listdir(FOLDER)}
        self.assertEqual(sorted(files), ['index.html', 'kelvane-web.js'])
        self.assertLess(sum(files.values()), 1_000_000)
        fetched = self.page.d.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name)")
        self.assertEqual([u for u in fetched if not u.startswith('file://')], [])
        self.assertIn(SEED, self.page.d.find_element(By.ID, 'seed-note').text)

    def test_tab_order_and_enabled_rules(self):
        """Tab walks the page in template order, skipping what is disabled, on to About."""
        p = self.page
        p.d.find_element(By.ID, 'tab-0').click()
        order = []
        for _ in range(16):
            p.d.switch_to.active_element.send_keys(Keys.TAB)
            order.append(p.d.switch_to.active_element.get_attribute('data-id'))
        self.assertEqual(order, ['1002', '1003', '1004', '1007', '1005', '1015', '1016', '1006', '1017', '1008',
                                 '1014', '1018', '1010', '1011', '1012', '1031'])
        p.click(0, 1014)
        self.assertTrue(p.ctl(0, 1009).is_enabled())
        p.d.find_element(By.ID, 'tab-0').send_keys(Keys.ARROW_RIGHT)
        self.assertEqual(p.d.switch_to.active_element.get_attribute('id'), 'tab-1')
        self.assertFalse(p.d.find_element(By.ID, 'page-1').get_attribute('hidden'))
        self.assertTrue(p.d.find_element(By.ID, 'page-0').get_attribute('hidden'))
        self.assertEqual(p.d.find_element(By.CSS_SELECTOR, '[data-id="1000"]').text, '指定数值范围内的整形、浮点数等')
        # The decimals field follows the floating-point box once it is clicked.
        self.assertTrue(p.ctl(1, 1023).is_enabled())
        p.check(1, 1019, True)
        p.check(1, 1019, False)
        self.assertFalse(p.ctl(1, 1023).is_enabled())
        p.d.find_element(By.CSS_SELECTOR, '[data-id="1031"]').click()
        kind, caption, text = p.box()
        self.assertEqual((kind, caption), ('about', '关于 Kelvane'))
        self.assertTrue(text.startswith('Kelvane\n版本 '))
        # Every field is named for screen readers; the second field of a range by the first's label.
        names = p.d.execute_script(
            "return Object.fromEntries([...document.querySelectorAll('#page-0 input, #page-0 textarea')].map(e =>"
            " [e.dataset.id, e.labels.length ? e.labels[0].textContent : e.getAttribute('aria-label')]))")
        self.assertEqual([i for i, n in names.items() if not (n or '').strip()], [])
        self.assertEqual((names['1015'], names['1016']), ('生成长度：', '生成长度 ~'))

    def test_options_are_kept_and_checked(self):
        p = self.page
        first = {cid: p.ctl(0, cid).get_property('value') for cid in (1015, 1016, 1017, 1009, 1013)}
        self.assertEqual(first, {1015: '8', 1016: '16', 1017: '10', 1009: '!@#$%^&*', 1013: '0O1lI'})
        p.check(0, 1002, False)
        p.type(0, 1005, '头')
        p.type(0, 1017, '77')
        p.tab(1)
        p.type(1, 1020, '1')
        p.type(1, 1022, '123')
        p.open()
        self.assertFalse(p.ctl(0, 1002).is_selected())
        self.assertEqual(p.ctl(0, 1005).get_property('value'), '头')
        self.assertEqual(p.ctl(0, 1017).get_property('value'), '77')
        self.assertEqual(p.ctl(1, 1020).get_property('value'), '80')  # the range is never stored
        self.assertEqual(p.ctl(1, 1022).get_property('value'), '123')
        # A stored value that fails its check reads as its first-run value.
        p.d.get('file://' + os.path.abspath(os.path.join(self.downloads, '..', 'blank.html')))
        p.d.execute_script("localStorage.setItem('Kelvane/isUCase', '7'); localStorage.setItem('Kelvane/count_int', 'x');"
                           "localStorage.setItem('Kelvane/xsw', '99999999999')")
        p.open()
        self.assertTrue(p.ctl(0, 1002).is_selected())
        self.assertEqual(p.ctl(1, 1022).get_property('value'), '10')
        self.assertEqual(p.ctl(1, 1023).get_property('value'), '2')


if __name__ == '__main__':
    FOLDER = os.path.abspath(sys.argv[1])
    CLI = os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0], '-v'] + sys.argv[3:])
