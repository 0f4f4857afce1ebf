// The page: builds the window from the control tables, reads and sets the
// controls, shows the boxes, keeps the timers and makes the downloads. Every
// rule, check, message and row comes from the WebAssembly (web/main.cpp).
(function () {
  'use strict';

  var UNIT = 1.5; // pixels per dialog unit, across and down
  var KIND = { check: 0, edit: 1, digits: 2, output: 3, push: 4, label: 5, tabs: 6 };
  var STYLE = { tabStop: 1, disabled: 4 };
  // The page's controls by tab: string, number, time.
  var ID = {
    string: { output: 1010, generate: 1011, exportText: 1012, useCharSpec: 1014, charSpec: 1009,
              useCharEx: 1018, charExclude: 1013 },
    number: { isFloat: 1019, decimals: 1023, output: 1026, generate: 1024, exportText: 1025 },
    time: { isProgram: 1014, program: 1013, output: 1027, generate: 1028, exportText: 1029 },
    main: { description: 1000, tab: 1001, about: 1031 }
  };
  // A run kept in the page beyond this many bytes could take the browser's
  // memory: it is stopped and dropped, with a message, before that happens.
  // (Module.runBytesLimit, when set, replaces the bound: the tests lower it.)
  var RUN_BYTES_LIMIT = 1024 * 1024 * 1024;
  var RUN_TOO_LARGE = '生成的结果超过 1 GB，超出网页所能保存的大小，已停止生成。请减少生成个数，或使用 kelvane-cli。';
  var NO_PROGRAM_NOTE = '浏览器中的页面不能启动外部程序，“执行外部程序”在此不可用。';
  var layout, pages = [], tabs = [], texts;

  function px(du) { return du * UNIT + 'px'; }

  // The GBK table from the browser's own decoder: each two-byte code is
  // decoded once, followed by a line feed, which no code holds.
  function gbkTable() {
    var table = new Uint16Array(65536);
    var dec = new TextDecoder('gbk');
    var bytes = [], codes = [];
    for (var lead = 0x81; lead <= 0xfe; ++lead)
      for (var trail = 0x40; trail <= 0xfe; ++trail)
        if (trail !== 0x7f) { bytes.push(lead, trail, 0x0a); codes.push(lead << 8 | trail); }
    var parts = dec.decode(new Uint8Array(bytes)).split('\n');
    for (var i = 0; i < codes.length; ++i)
      if (parts[i].length === 1 && parts[i] !== '\ufffd') table[codes[i]] = parts[i].charCodeAt(0);
    var single = dec.decode(new Uint8Array([0x80]));
    if (single.length === 1 && single !== '\ufffd') table[0x80] = single.charCodeAt(0);
    return new Uint8Array(table.buffer);
  }

  // --- boxes -----------------------------------------------------------------

  var modal, boxQueue = [], boxOpen = false;

  function el(tag, cls, text) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  var WARNING_ICON = '<svg viewBox="0 0 32 32" class="icon" aria-hidden="true"><path d="M16 2 31 29H1Z" fill="#f2c12e" stroke="#8a6d00"/><rect x="14.5" y="11" width="3" height="10" fill="#000"/><rect x="14.5" y="23" width="3" height="3" fill="#000"/></svg>';
  var INFO_ICON = '<svg viewBox="0 0 32 32" class="icon" aria-hidden="true"><circle cx="16" cy="16" r="14" fill="#2f6fd6"/><rect x="14.5" y="13" width="3" height="11" fill="#fff"/><rect x="14.5" y="8" width="3" height="3" fill="#fff"/></svg>';

  // Shows a modal box in the page; boxes asked for while one is open wait
  // their turn. build(box, close) fills the box and returns the element to
  // focus first.
  function openModal(kind, caption, build) {
    boxQueue.push({ kind: kind, caption: caption, build: build });
    if (!boxOpen) nextBox();
  }

  function nextBox() {
    var req = boxQueue.shift();
    if (!req) { boxOpen = false; return; }
    boxOpen = true;
    var before = document.activeElement;
    modal.textContent = '';
    var box = el('div', 'box');
    box.setAttribute('role', req.kind === 'warning' ? 'alertdialog' : 'dialog');
    box.setAttribute('aria-modal', 'true');
    box.dataset.box = req.kind;
    var cap = el('div', 'caption', req.caption);
    cap.id = 'box-caption';
    box.setAttribute('aria-labelledby', 'box-caption');
    box.appendChild(cap);
    var closed = false;
    function close() {
      if (closed) return;
      closed = true;
      modal.hidden = true;
      modal.textContent = '';
      if (before && before.focus && !before.disabled) before.focus();
      nextBox();
    }
    var first = req.build(box, close);
    modal.appendChild(box);
    modal.hidden = false;
    // Tab and Shift+Tab stay inside the box; Esc closes it as Cancel would.
    box.addEventListener('keydown', function (e) {
      if (e.key === 'Escape') { e.preventDefault(); (box.cancel || close)(); }
      if (e.key !== 'Tab') return;
      var f = box.querySelectorAll('button, input, select');
      if (!f.length) return;
      var a = f[0], z = f[f.length - 1];
      if (e.shiftKey && document.activeElement === a) { e.preventDefault(); z.focus(); }
      else if (!e.shiftKey && document.activeElement === z) { e.preventDefault(); a.focus(); }
    });
    first.focus();
  }

  // The boxes of the program: plain (the page's own), warning, About.
  Module.showBox = function (kind, caption, text) {
    openModal(kind, caption, function (box, close) {
      var body = el('div', 'body');
      if (kind === 'warning') body.insertAdjacentHTML('beforeend', WARNING_ICON);
      else if (kind === 'about') body.insertAdjacentHTML('beforeend', INFO_ICON);
      var t = el('div', 'text', text);
      t.id = 'box-text';
      box.setAttribute('aria-describedby', 'box-text');
      body.appendChild(t);
      box.appendChild(body);
      var buttons = el('div', 'buttons');
      var ok = el('button', 'push', '确定');
      ok.type = 'button';
      ok.addEventListener('click', close);
      buttons.appendChild(ok);
      box.appendChild(buttons);
      return ok;
    });
  };

  // The save dialog: a file name and the text format (GBK the default).
  // Resolves to {name, gbk} or null for Cancel.
  function askSave(suggested) {
    return new Promise(function (resolve) {
      openModal('save', texts.exportCaption, function (box, close) {
        var nameRow = el('div', 'row'), typeRow = el('div', 'row');
        var nameLabel = el('label', '', '文件名：'), typeLabel = el('label', '', '保存类型：');
        var name = el('input'), type = el('select');
        name.id = 'save-name'; nameLabel.htmlFor = 'save-name';
        type.id = 'save-type'; typeLabel.htmlFor = 'save-type';
        name.value = suggested;
        [['gbk', 'GBK 文本 (*.txt)'], ['utf8', 'UTF-8 文本 (*.txt)']].forEach(function (o) {
          var opt = el('option', '', o[1]);
          opt.value = o[0];
          type.appendChild(opt);
        });
        nameRow.append(nameLabel, name);
        typeRow.append(typeLabel, type);
        box.append(nameRow, typeRow);
        var buttons = el('div', 'buttons');
        var save = el('button', 'push', '保存'), cancel = el('button', 'push', '取消');
        save.type = cancel.type = 'button';
        save.dataset.role = 'save';
        cancel.dataset.role = 'cancel';
        function done(result) { close(); resolve(result); }
        save.addEventListener('click', function () {
          var n = name.value.trim();
          if (!n) { name.focus(); return; }
          if (!/\.[^.\/\\]+$/.test(n)) n += '.txt'; // the filter's suffix
          done({ name: n, gbk: type.value === 'gbk' });
        });
        cancel.addEventListener('click', function () { done(null); });
        box.cancel = function () { done(null); };
        name.addEventListener('keydown', function (e) { if (e.key === 'Enter') save.click(); });
        buttons.append(save, cancel);
        box.appendChild(buttons);
        name.setSelectionRange(0, suggested.lastIndexOf('.') > 0 ? suggested.lastIndexOf('.') : suggested.length);
        return name;
      });
    });
  }

  function download(parts, name) {
    var url = URL.createObjectURL(new Blob(parts, { type: 'text/plain' }));
    var a = el('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
  }

  // Export of a box's text: CR LF line ends, GBK or UTF-8 as chosen.
  function exportText(suggested, text) {
    return askSave(suggested).then(function (target) {
      if (!target) return;
      var bytes = Module.exportBytes(text, target.gbk);
      if (bytes) download([bytes], target.name);
    });
  }

  // --- the output boxes --------------------------------------------------------

  // A text area lays out every line it holds, which takes seconds for 10^5
  // lines and more. A larger text is shown in a view of its own that draws
  // only the lines in sight; it reads like the box but cannot be edited.
  var AREA_LINES = 5000, ROW_PX = 18;

  function outputBox(area) {
    var view = el('div', 'edit rows ctl');
    view.style.cssText = area.style.cssText;
    view.tabIndex = area.tabIndex;
    view.hidden = true;
    view.setAttribute('role', 'textbox');
    view.setAttribute('aria-multiline', 'true');
    view.setAttribute('aria-readonly', 'true');
    view.dataset.view = area.dataset.id;
    var named = area.labels && area.labels[0];
    if (named) view.setAttribute('aria-label', named.textContent.replace(/[，,：:]$/, ''));
    var spacer = el('div', 'spacer'), lines = el('pre', 'lines');
    view.append(spacer, lines);
    area.after(view);
    var text = '', starts = null, drawn = -1;
    function draw() {
      var first = Math.max(0, Math.floor(view.scrollTop / ROW_PX) - 2);
      var last = Math.min(starts.length - 1, first + Math.ceil(view.clientHeight / ROW_PX) + 4);
      if (first === drawn) return;
      drawn = first;
      var end = last + 1 < starts.length ? starts[last + 1] - 1 : text.length - (text.endsWith('\n') ? 1 : 0);
      lines.style.top = first * ROW_PX + 'px';
      lines.textContent = text.slice(starts[first], end);
    }
    view.addEventListener('scroll', draw);
    var box = {
      get value() { return starts ? text : area.value; },
      set value(t) {
        var n = 1;
        for (var i = t.indexOf('\n'); i >= 0 && n <= AREA_LINES; i = t.indexOf('\n', i + 1)) ++n;
        if (n <= AREA_LINES) {
          text = ''; starts = null;
          if (!view.hidden) { view.hidden = true; area.hidden = false; }
          area.value = t;
          return;
        }
        text = t;
        var idx = [0];
        for (i = t.indexOf('\n'); i >= 0; i = t.indexOf('\n', i + 1)) idx.push(i + 1);
        if (idx[idx.length - 1] === t.length) idx.pop(); // a last line end opens no row
        starts = Uint32Array.from(idx);
        var longest = 0;
        for (i = 0; i < Math.min(starts.length, 2000); ++i)
          longest = Math.max(longest, (i + 1 < starts.length ? starts[i + 1] : t.length) - starts[i]);
        spacer.style.height = starts.length * ROW_PX + 'px';
        spacer.style.width = longest + 'ch';
        area.value = '';
        area.hidden = true;
        view.hidden = false;
        view.scrollTop = 0;
        drawn = -1;
        draw();
      }
    };
    area.outputBox = box;
    return box;
  }

  // --- building the window ---------------------------------------------------

  function place(e, c) {
    e.classList.add('ctl');
    e.style.left = px(c.x);
    e.style.top = px(c.y);
    e.style.width = px(c.w);
    e.style.height = px(c.h);
  }

  // Builds a control; returns {el: the element placed, field: the one that
  // takes focus and input (null for a label)}.
  function control(c, prefix) {
    var e, field = null;
    switch (c.kind) {
    case KIND.check:
      e = el('label', 'check');
      field = el('input');
      field.type = 'checkbox';
      e.append(field, document.createTextNode(c.text));
      break;
    case KIND.edit:
    case KIND.digits:
      e = field = el('input', 'edit');
      field.type = 'text';
      field.spellcheck = false;
      field.autocomplete = 'off';
      if (c.kind === KIND.digits) {
        field.inputMode = 'numeric';
        // Typed text must be digits; pasting and editing keys pass.
        field.addEventListener('beforeinput', function (ev) {
          if (ev.inputType === 'insertText' && ev.data && /[^0-9]/.test(ev.data)) ev.preventDefault();
        });
      }
      break;
    case KIND.output:
      e = field = el('textarea', 'edit');
      field.wrap = 'off';
      field.spellcheck = false;
      break;
    case KIND.push:
      e = field = el('button', 'push', c.text);
      field.type = 'button';
      break;
    default:
      e = el('div', 'static', c.text);
    }
    place(e, c);
    if (field) {
      if (c.id >= 0) field.id = prefix + c.id;
      if (!(c.style & STYLE.tabStop)) field.tabIndex = -1;
      if (c.style & STYLE.disabled) setEnabled(field, false);
    }
    if (c.id >= 0) (field || e).dataset.id = String(c.id);
    return { def: c, el: e, field: field };
  }

  function setEnabled(field, on) {
    field.disabled = !on;
    var wrap = field.closest && field.closest('label.check');
    if (wrap) wrap.classList.toggle('disabled', !on);
  }

  // Ties each label to the field it names: the field right of it on its
  // row, or the output box below "结果输出，". A field no label names takes
  // the text beside it, so screen readers name every field.
  function tieLabels(items) {
    var labels = items.filter(function (i) { return !i.field && i.def.kind === KIND.label; });
    var fields = items.filter(function (i) { return i.field && i.def.kind !== KIND.push && i.def.kind !== KIND.check; });
    var named = {};
    fields.forEach(function (f) {
      var d = f.def, best = null, bestGap = 1e9;
      labels.forEach(function (l) {
        var ld = l.def, gap;
        if (d.kind === KIND.output) gap = d.y - (ld.y + ld.h) + Math.abs(d.x - ld.x);
        else if (ld.y + ld.h > d.y && ld.y < d.y + d.h) gap = d.x - (ld.x + ld.w);
        else return;
        if (gap >= -2 && gap < bestGap && gap < 40) { best = l; bestGap = gap; }
      });
      if (best && best.def.text !== '~' && !named[best.def.x + ',' + best.def.y]) {
        named[best.def.x + ',' + best.def.y] = true;
        var lab = el('label', best.el.className, best.def.text);
        lab.style.cssText = best.el.style.cssText;
        lab.htmlFor = f.field.id;
        best.el.replaceWith(lab);
        best.el = lab;
        f.labelled = best.def.text.replace(/[：:，]$/, '');
      }
    });
    // The second field of a range ("~") and fields without a label of their own.
    var prev = null;
    fields.forEach(function (f) {
      if (!f.labelled) {
        var beside = items.filter(function (i) {
          return i !== f && i.def.y + i.def.h > f.def.y && i.def.y < f.def.y + f.def.h && i.def.x < f.def.x && i.def.kind !== KIND.push;
        }).sort(function (a, b) { return b.def.x - a.def.x; });
        var name = beside.length ? beside[0].def.text : '';
        if (name === '~' && prev) name = (prev.labelled || prev.field.getAttribute('aria-label')) + ' ~';
        if (name) f.field.setAttribute('aria-label', name.replace(/[：:，]$/, ''));
      }
      prev = f;
    });
  }

  function buildPage(t, index, area) {
    var panel = el('div', 'page');
    panel.setAttribute('role', 'tabpanel');
    panel.id = 'page-' + index;
    panel.setAttribute('aria-labelledby', 'tab-' + index);
    panel.dataset.page = String(t.id);
    panel.style.cssText = 'position:absolute;left:' + area.left + 'px;top:' + area.top + 'px;width:' +
      area.width + 'px;height:' + area.height + 'px;';
    var prefix = 'p' + t.id + '-';
    var items = t.controls.map(function (c) { return control(c, prefix); });
    items.forEach(function (i) { panel.appendChild(i.el); });
    tieLabels(items);
    var byId = {};
    items.forEach(function (i) { if (i.def.id >= 0 && i.field) byId[i.def.id] = i.field; });
    return { panel: panel, items: items, byId: byId, template: t };
  }

  function addLine(page, cls, x, y, w, h, role) {
    var line = el('div', cls + ' ctl');
    place(line, { x: x, y: y, w: w, h: h });
    if (role) line.setAttribute('role', role);
    page.panel.appendChild(line);
    return line;
  }

  // The controls of a page as the rules read them: check boxes 0 or 1,
  // edits their text.
  function readControls(page) {
    var out = {};
    page.items.forEach(function (i) {
      if (!i.field || i.def.id < 0 || i.def.kind === KIND.push || i.def.kind === KIND.output) return;
      out[i.def.id] = i.def.kind === KIND.check ? (i.field.checked ? '1' : '0') : i.field.value;
    });
    return out;
  }

  function setControls(page, values) {
    Object.keys(values).forEach(function (id) {
      var f = page.byId[id];
      if (!f) return;
      if (f.type === 'checkbox') f.checked = values[id] === '1';
      else f.value = values[id];
    });
  }

  function buildWindow(root) {
    var main = layout.main;
    root.className = 'window';
    root.textContent = '';
    root.style.width = px(main.w);
    root.style.height = px(main.h);
    root.setAttribute('role', 'application');
    root.setAttribute('aria-label', main.caption.trim());
    document.title = main.caption.trim();
    var inset = layout.inset;
    main.controls.forEach(function (c) {
      if (c.kind !== KIND.tabs) {
        var item = control(c, 'm-');
        root.appendChild(item.el);
        if (c.id === ID.main.about) item.field.addEventListener('click', function () { Module.about(); });
        if (c.id === ID.main.description) item.el.setAttribute('aria-live', 'polite');
        return;
      }
      // The tab control: its row of tabs, its frame, the pages over its area.
      var box = el('div');
      place(box, c);
      box.dataset.id = String(c.id);
      var row = el('div', 'tabrow');
      row.setAttribute('role', 'tablist');
      var frame = el('div', 'tabframe');
      frame.style.cssText = 'left:0;top:' + (inset[1] - 1) + 'px;right:0;bottom:0;';
      box.append(frame, row);
      var w = c.w * UNIT, h = c.h * UNIT;
      var area = { left: inset[0], top: inset[1], width: w - inset[0] - inset[2], height: h - inset[1] - inset[3] };
      layout.pages.forEach(function (t, i) {
        var tab = el('button', 'tab', layout.tabs[i]);
        tab.type = 'button';
        tab.id = 'tab-' + i;
        tab.setAttribute('role', 'tab');
        tab.setAttribute('aria-controls', 'page-' + i);
        tab.addEventListener('click', function () { showTab(i); });
        tab.addEventListener('keydown', function (e) {
          var to = e.key === 'ArrowRight' ? (i + 1) % 3 : e.key === 'ArrowLeft' ? (i + 2) % 3 :
            e.key === 'Home' ? 0 : e.key === 'End' ? 2 : -1;
          if (to >= 0) { e.preventDefault(); showTab(to); tabs[to].focus(); }
        });
        row.appendChild(tab);
        tabs.push(tab);
        var page = buildPage(t, i, area);
        pages.push(page);
        box.appendChild(page.panel);
      });
      root.appendChild(box);
    });
  }

  function showTab(index) {
    tabs.forEach(function (t, i) {
      t.setAttribute('aria-selected', String(i === index));
      t.tabIndex = i === index ? 0 : -1;
      pages[i].panel.hidden = i !== index;
    });
    document.querySelector('[data-id="' + ID.main.description + '"]').textContent = layout.descriptions[index];
  }

  // --- the string tab --------------------------------------------------------

  function stringTab(page) {
    var id = ID.string, f = page.byId;
    var running = false, fileRun = false, pieces = null;
    var output = outputBox(f[id.output]);
    var progress = addLine(page, 'progress', 14, 256, 256, 10, 'status');
    setControls(page, Module.loadString());
    function lists() {
      setEnabled(f[id.charSpec], f[id.useCharSpec].checked);
      setEnabled(f[id.charExclude], f[id.useCharEx].checked);
    }
    // "启用" says what it turns on through the label of its row.
    f[id.useCharSpec].setAttribute('aria-describedby', f[id.charSpec].labels[0].id = 'p129-special-label');
    f[id.useCharEx].setAttribute('aria-describedby', f[id.charExclude].labels[0].id = 'p129-ex-label');
    f[id.useCharSpec].addEventListener('click', lists);
    f[id.useCharEx].addEventListener('click', lists);
    lists();

    f[id.generate].addEventListener('click', function () {
      var count = Module.stringGenerate(readControls(page));
      if (count < 0) return;
      setEnabled(f[id.generate], false);
      running = true;
      fileRun = false;
      pieces = [];
      output.value = texts.generating;
      // Made in blocks between paints, so the page answers during long runs.
      var shown = 0, bytes = 0;
      var step = function () {
        var start = performance.now(), block;
        while ((block = Module.stringStep()) !== null) {
          pieces.push(block);
          bytes += block.length;
          if (bytes > (Module.runBytesLimit || RUN_BYTES_LIMIT)) {
            Module.stringStop();
            pieces = null;
            running = false;
            progress.textContent = '';
            output.value = '';
            Module.showBox('plain', '', RUN_TOO_LARGE);
            setEnabled(f[id.generate], true);
            return;
          }
          if (performance.now() - start > 40) break;
        }
        if (block !== null) {
          var now = performance.now();
          if (now - shown > 250) {
            shown = now;
            var done = Module.stringRowsDone();
            progress.textContent = done + ' / ' + count + ' 行 (' + Math.floor(done * 100 / count) + '%)';
          }
          setTimeout(step, 0);
          return;
        }
        progress.textContent = '';
        if (count <= layout.boxRowLimit) {
          output.value = Module.gbkToUtf8(joinBytes(pieces)).replace(/\r\n/g, '\n');
          pieces = null;
        } else {
          fileRun = true;
          output.value = texts.generatedToFile;
        }
        running = false;
        Module.showBox('plain', '', texts.generated);
        setEnabled(f[id.generate], true);
      };
      requestAnimationFrame(function () { setTimeout(step, 0); });
    });

    f[id.exportText].addEventListener('click', function () {
      if (running) return Module.showBox('plain', '', texts.exportWhileGenerating);
      if (fileRun) {
        var run = pieces;
        return askSave(texts.stringName).then(function (target) {
          if (!target) return;
          download(target.gbk ? run : run.map(function (p) { return Module.gbkToUtf8(p); }), target.name);
        });
      }
      var text = output.value;
      if (!text) return Module.showBox('plain', '', texts.nothingToExport);
      exportText(texts.stringName, text);
    });
  }

  function joinBytes(parts) {
    var n = 0;
    parts.forEach(function (p) { n += p.length; });
    var all = new Uint8Array(n), at = 0;
    parts.forEach(function (p) { all.set(p, at); at += p.length; });
    return all;
  }

  // --- the number tab --------------------------------------------------------

  function numberTab(page) {
    var id = ID.number, f = page.byId;
    var output = outputBox(f[id.output]);
    setControls(page, Module.loadNumber());
    // The decimals field keeps its first state until the box is clicked.
    f[id.isFloat].addEventListener('click', function () { setEnabled(f[id.decimals], f[id.isFloat].checked); });
    f[id.generate].addEventListener('click', function () {
      var rows = Module.numberGenerate(readControls(page));
      if (rows === null) return;
      setEnabled(f[id.generate], false);
      output.value = rows;
      Module.showBox('plain', '', texts.generated);
      setEnabled(f[id.generate], true);
    });
    f[id.exportText].addEventListener('click', function () { exportText(texts.numberName, output.value); });
  }

  // --- the time tab ----------------------------------------------------------

  function timeTab(page) {
    var id = ID.time, f = page.byId;
    setControls(page, Module.loadTime());
    // Opening a program is beyond a page: both stay off, and a note says why.
    setEnabled(f[id.isProgram], false);
    setEnabled(f[id.program], false);
    var note = addLine(page, 'note', 16, 66, 306, 10);
    note.id = 'no-program-note';
    note.textContent = NO_PROGRAM_NOTE;
    f[id.isProgram].setAttribute('aria-describedby', note.id);
    f[id.program].setAttribute('aria-describedby', note.id);
    var area = f[id.output], out = outputBox(area), timer = null, shownLen = -1, modified = false;
    area.addEventListener('input', function () { modified = true; });
    Module.timeHost = {
      arm: function (ms) { clearTimeout(timer); timer = setTimeout(function () { timer = null; Module.timeTick(); }, ms); },
      cancel: function () { clearTimeout(timer); timer = null; },
      // While the box holds the log as last shown, only the new line goes in.
      log: function (text) {
        if (!area.hidden && shownLen >= 0 && !modified && text.length >= shownLen && area.value.length === shownLen)
          area.value += text.slice(shownLen);
        else
          out.value = text;
        shownLen = out.value.length;
        modified = false;
        area.scrollTop = area.scrollHeight;
      },
      enable: function (on) { setEnabled(f[id.generate], on); }
    };
    f[id.generate].addEventListener('click', function () { Module.timeGenerate(readControls(page)); });
    f[id.exportText].addEventListener('click', function () { exportText(texts.timeName, out.value); });
  }

  // --- start -----------------------------------------------------------------

  function storeAll() {
    Module.store(readControls(pages[0]), readControls(pages[1]), readControls(pages[2]));
  }

  function startPage() {
    Module.setGbkTable(gbkTable());
    var params = new URLSearchParams(location.search);
    var seeded = params.has('seed');
    Module.start(seeded, params.get('seed') || '');
    layout = Module.layout();
    texts = layout.texts;
    var root = document.getElementById('app');
    modal = el('div', 'modal');
    modal.hidden = true;
    document.body.appendChild(modal);
    buildWindow(root);
    stringTab(pages[0]);
    numberTab(pages[1]);
    timeTab(pages[2]);
    showTab(0);
    if (seeded) {
      // Rows from a seed are reproducible by anyone who has the address.
      var seedNote = el('p', 'seed-note', '种子“' + params.get('seed') + '”：每次生成的结果都相同，可与 kelvane-cli --seed 复现；请勿用作密码。');
      seedNote.id = 'seed-note';
      seedNote.setAttribute('role', 'note');
      root.after(seedNote);
      document.title += '（种子 ' + params.get('seed') + '）';
    }
    // Options are kept when the page goes away, as the window keeps them when it closes.
    addEventListener('pagehide', storeAll);
    document.addEventListener('visibilitychange', function () { if (document.visibilityState === 'hidden') storeAll(); });
    root.dataset.ready = '1';
  }

  if (runtimeInitialized) startPage();
  else Module.onRuntimeInitialized = startPage;
})();
