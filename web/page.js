// The page layer: turns the browser's events into calls of the compiled field and calculation
// (bindings.cpp) and shows what they leave. Everything it decides itself is how things look.
'use strict';
(() => {
  const layout = HB9CV_DATA.layout;
  const $ = (id) => document.getElementById(id);
  const field = $('field');
  const hooks = { beeps: 0, ready: false, text: () => '' };  // read by the browser tests
  window.HB9CV = hooks;

  // ---- texts: the desktop's Czech sources, or their translation for the browser's language
  const language = (() => {
    for (const wanted of navigator.languages || [navigator.language || '']) {
      const code = String(wanted).slice(0, 2).toLowerCase();
      if (code === 'cs') return 'cs';
      if (HB9CV_DATA.translations[code]) return code;
    }
    return 'cs';
  })();
  document.documentElement.lang = language;
  const table = HB9CV_DATA.translations[language] || {};
  // Marks the page's own texts for the translations' sources (scripts/check-translations).
  const QT_TRANSLATE_NOOP = (context, text) => text;
  const tr = (text) => (Object.prototype.hasOwnProperty.call(table, text) ? table[text] : text);

  // "&Počítej": the letter after "&" is the accelerator; shown underlined.
  function setCaption(element, caption) {
    element.textContent = '';
    const amp = caption.indexOf('&');
    if (amp < 0 || amp + 1 >= caption.length) {
      element.textContent = caption.replace('&', '');
      return '';
    }
    const key = document.createElement('u');
    key.textContent = caption[amp + 1];
    element.append(caption.slice(0, amp), key, caption.slice(amp + 2));
    return caption[amp + 1].toLowerCase();
  }

  // ---- the module
  let M = null;
  const latin1 = (s) => Array.from(s, (c) => (c.charCodeAt(0) <= 0xff ? c : '?')).join('');
  function input(text, utf8) {
    const bytes = utf8 ? new TextEncoder().encode(text)
                       : Uint8Array.from(latin1(text), (c) => c.charCodeAt(0));
    const at = M._hb_buffer(bytes.length);
    M.HEAPU8.set(bytes, at);
    M.HEAPU8[at + bytes.length] = 0;
    return at;
  }
  const readLatin1 = (at) => {
    let s = '';
    for (let i = at; M.HEAPU8[i] !== 0; ++i) s += String.fromCharCode(M.HEAPU8[i]);
    return s;
  };
  // The message in the page's language where it has a translation.
  const error = () => {
    const pattern = M.UTF8ToString(M._hb_error_pattern());
    if (pattern === '' || tr(pattern) === pattern) return M.UTF8ToString(M._hb_error());
    return M.UTF8ToString(M._hb_error_in(input(tr(pattern), true)));
  };

  // ---- error box: the message with the desktop's full stop
  function errorText(message) {
    if (message === '') return message;
    const last = message[message.length - 1];
    return last > '.' || last === "'" || last === '"' ? message + '.' : message;
  }
  let errorOpen = false;
  function showError(message) {
    $('error-text').textContent = errorText(message);
    $('error').hidden = false;
    errorOpen = true;
    $('error-ok').focus();
  }
  function closeError() {
    $('error').hidden = true;
    errorOpen = false;
    field.focus();
  }
  $('error-ok').addEventListener('click', closeError);
  $('error').addEventListener('keydown', (e) => {
    if (e.key === 'Enter' || e.key === 'Escape' || e.key === ' ') {
      e.preventDefault();
      closeError();
    }
    e.stopPropagation();
  });

  // ---- beep: a short tone
  let audio = null;
  function beep(count) {
    hooks.beeps += count;
    try {
      audio = audio || new AudioContext();
      const tone = audio.createOscillator();
      const gain = audio.createGain();
      gain.gain.value = 0.05;
      tone.frequency.value = 880;
      tone.connect(gain).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.06);
    } catch (e) {
      // No sound where the browser has none.
    }
  }

  // ---- the field
  function sync() {
    field.value = readLatin1(M._hb_field_string(0));
    const anchor = M._hb_field_number(0);
    const caret = M._hb_field_number(1);
    if (document.activeElement === field) {
      field.setSelectionRange(Math.min(anchor, caret), Math.max(anchor, caret),
                              caret < anchor ? 'backward' : 'forward');
    }
    const beeps = M._hb_field_number(2);
    if (beeps > 0) beep(beeps);
  }
  function run(ok) {
    if (!ok) showError(error());
    sync();
  }
  const fieldText = () => readLatin1(M._hb_field_string(1));
  const kKeys = { ArrowLeft: 1, ArrowRight: 2, ArrowUp: 3, ArrowDown: 4, Home: 5, End: 6,
                  Delete: 7, Backspace: 8, Insert: 9 };
  const modifiers = (e) => (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
  // Keys whose clipboard work the browser's own copy, cut and paste events bring.
  function clipboardKey(e) {
    const k = e.key.toLowerCase();
    if (e.ctrlKey && !e.shiftKey && (k === 'c' || k === 'v' || k === 'x')) return true;
    return (e.shiftKey && !e.ctrlKey && (e.key === 'Insert' || e.key === 'Delete')) ||
           (e.ctrlKey && !e.shiftKey && e.key === 'Insert');
  }
  field.addEventListener('keydown', (e) => {
    if (e.isComposing || e.key === 'Tab' || /^F\d+$/.test(e.key) || (e.altKey && !e.ctrlKey)) return;
    if (clipboardKey(e)) return;
    const key = kKeys[e.key] || 0;
    let character = -1;
    if (e.key === 'Backspace') character = 8;
    else if (e.key === 'Escape') character = 27;
    else if (e.key === 'Enter') character = 13;
    else if (key === 0 && e.ctrlKey && /^[a-z]$/i.test(e.key)) character = e.key.toUpperCase().charCodeAt(0) - 64;
    else if (key === 0 && !e.ctrlKey && [...e.key].length === 1) {
      const code = e.key.codePointAt(0);
      character = code <= 0xff ? code : -2;
    }
    if (key === 0 && character === -1 && !['Shift', 'Control', 'Alt', 'Meta'].includes(e.key)) {
      return;  // keys the field has no use for
    }
    e.preventDefault();
    if (e.key === 'Escape' && !M._hb_field_number(3)) {
      // Nothing to undo: the field lets Esc go, as the desktop field does.
    }
    run(M._hb_key(key, modifiers(e), character));
    if (e.key === 'Enter') compute();
  });
  field.addEventListener('keyup', (e) => {
    const key = kKeys[e.key];
    if (key) run(M._hb_key_up(key, modifiers(e)));
  });
  field.addEventListener('beforeinput', (e) => e.preventDefault());  // nothing edits it natively
  field.addEventListener('copy', (e) => {
    e.preventDefault();
    run(M._hb_edit(1, 0));
    e.clipboardData.setData('text/plain', readLatin1(M._hb_field_string(2)));
  });
  field.addEventListener('cut', (e) => {
    e.preventDefault();
    run(M._hb_edit(0, 0));
    e.clipboardData.setData('text/plain', readLatin1(M._hb_field_string(2)));
  });
  field.addEventListener('paste', (e) => {
    e.preventDefault();
    run(M._hb_edit(2, input(e.clipboardData.getData('text/plain'), false)));
  });

  // Mouse: the nearest caret boundary and the character under the pointer, measured with the
  // field's own font.
  const measure = document.createElement('canvas').getContext('2d');
  function placeOf(e) {
    const style = getComputedStyle(field);
    measure.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
    const box = field.getBoundingClientRect();
    const x = e.clientX - box.left - parseFloat(style.borderLeftWidth) -
              parseFloat(style.paddingLeft) + field.scrollLeft;
    const text = field.value;
    const edges = [0];
    for (let i = 1; i <= text.length; ++i) edges.push(measure.measureText(text.slice(0, i)).width);
    let index = 0;
    for (let i = 1; i < edges.length; ++i) if (Math.abs(edges[i] - x) < Math.abs(edges[index] - x)) index = i;
    let character = text.length;
    for (let i = 0; i < text.length; ++i) if (x < edges[i + 1]) { character = i; break; }
    return { index, character, x: Math.round(x) };
  }
  let buttonDown = false;
  let entered = false;
  let otherWindow = false;  // the warning has the focus: the field was not left
  field.addEventListener('mousedown', (e) => {
    if (e.button !== 0) return;
    e.preventDefault();
    buttonDown = true;
    if (document.activeElement !== field) field.focus();
    const p = placeOf(e);
    run(e.detail === 2 ? M._hb_mouse(3, p.index, 0, p.x, 0)
                       : M._hb_mouse(0, p.index, p.character, p.x, e.shiftKey ? 1 : 0));
  });
  document.addEventListener('mousemove', (e) => {
    if (buttonDown && e.buttons & 1) run(M._hb_mouse(1, placeOf(e).index, 0, 0, 0));
  });
  document.addEventListener('mouseup', (e) => {
    if (!buttonDown || e.button !== 0) return;
    buttonDown = false;
    run(M._hb_mouse(2, 0, 0, placeOf(e).x, 0));
  });
  field.addEventListener('focus', () => {
    const entering = !entered;
    entered = true;
    otherWindow = false;
    run(M._hb_focus(1, entering ? 1 : 0, buttonDown ? 1 : 0));
  });
  field.addEventListener('blur', () => {
    const leaving = !otherWindow && !errorOpen && document.hasFocus();
    if (leaving) entered = false;
    run(M._hb_focus(0, leaving ? 1 : 0, 0));
  });

  // ---- the window
  const windowLabels = {};  // value name -> element
  const reportLabels = {};
  const commands = {};
  function place(element, x, y, w, h) {
    Object.assign(element.style, { left: `${x}px`, top: `${y}px` });
    if (w !== undefined) Object.assign(element.style, { width: `${w}px`, height: `${h}px` });
  }
  function buildWindow() {
    const w = layout.window;
    $('title').textContent = tr(w.title);
    document.title = tr(w.title);
    const client = $('client');
    Object.assign(client.style, { width: `${w.client[0]}px`, height: `${w.client[1]}px` });
    place(field, ...w.field);
    field.style.fontSize = `${w.fieldPx}px`;
    field.setAttribute('aria-label', tr('Kmitočet v MHz'));
    const panel = $('panel');
    place(panel, ...w.panel);
    const image = $('image');
    place(image, ...w.image);
    const svg = image.querySelector('svg');
    const [sw, sh] = [svg.width.baseVal.value, svg.height.baseVal.value];
    // Centred in the image control, as the desktop draws it.
    place(svg, Math.floor((w.image[2] - sw) / 2) - 1, Math.floor((w.image[3] - sh) / 2) - 1);
    for (const l of w.labels) {
      const span = labelOf(l, 'span', 'label', windowLabels);
      place(span, l.x, l.y);
      Object.assign(span.style, { fontSize: `${l.px}px`, fontWeight: l.bold ? 'bold' : 'normal' });
      (l.overDrawing ? panel : client).append(span);
    }
    for (const item of w.menu) {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = item.name;
      button.tabIndex = -1;
      button.setAttribute('role', 'menuitem');
      const key = setCaption(button, tr(item.caption));
      button.disabled = item.caption.trim() === '' || item.name === 'Nov1' || item.name === 'Tisk1';
      button.addEventListener('mousedown', (e) => e.preventDefault());  // the field keeps the focus
      if (key) commands[key] = item.name;
      button.addEventListener('click', () => command(item.name));
      $('menu').append(button);
    }
    const warning = layout.warning;
    const box = $('warning');
    Object.assign(box.style, { width: `${warning.client[0]}px`, height: `${warning.client[1]}px` });
    const label = $('warning-label');
    label.textContent = tr(warning.label.caption);
    place(label, warning.label.x, warning.label.y);
    label.style.fontSize = `${warning.label.px}px`;
    const button = $('warning-button');
    const key = setCaption(button, tr(warning.button.caption));
    place(button, ...warning.button.rect);
    button.style.fontSize = `${warning.button.px}px`;
    button.addEventListener('click', closeWarning);
    box.addEventListener('keydown', (e) => {
      if (e.altKey && e.key.toLowerCase() === key) {
        e.preventDefault();
        closeWarning();
      }
    });
  }
  function showWarning() {
    $('warning').hidden = false;
    otherWindow = true;
    $('warning-button').focus();
  }
  function closeWarning() {
    $('warning').hidden = true;
    field.focus();
  }

  // A label of the window's or the report's table, its caption in the page's language; a
  // value's label is also kept in `byValue` under the value's name.
  function labelOf(l, tag, className, byValue) {
    const element = document.createElement(tag);
    element.className = className;
    element.dataset.component = l.name;
    if (l.value) {
      element.dataset.name = l.value;
      byValue[l.value] = element;
    }
    element.textContent = tr(l.caption);
    return element;
  }

  function buildReport() {
    const r = layout.report;
    const page = $('report');
    const [bx, by] = r.band;
    const svg = page.querySelector('svg');
    Object.assign(svg.style, { left: `${bx + r.image[0]}mm`, top: `${by + r.image[1]}mm`,
                               width: `${r.image[2]}mm`, height: `${r.image[3]}mm` });
    const setLabel = (l) => {
      const div = labelOf(l, 'div', 'report-label', reportLabels);
      Object.assign(div.style, {
        left: `${bx + l.left}mm`, top: `${by + l.top}mm`, fontSize: `${l.pt}pt`,
        fontWeight: l.bold ? 'bold' : 'normal', textDecoration: l.underline ? 'underline' : 'none' });
      page.append(div);
    };
    // The labels before the drawing lie under it in the desktop's order; here the drawing
    // never covers a label, so the order of the elements is only their order in the table.
    r.labels.forEach(setLabel);
    setCaption($('preview-print'), tr('&Tisk'));
    setCaption($('preview-close'), tr(QT_TRANSLATE_NOOP('Web', '&Zavřít')));
    $('preview-print').addEventListener('click', () => window.print());
    $('preview-close').addEventListener('click', closePreview);
  }
  function openPreview() {
    $('preview').hidden = false;
  }
  function closePreview() {
    $('preview').hidden = true;
    field.focus();
  }

  // ---- the commands
  function applyCaptions() {
    for (const line of M.UTF8ToString(M._hb_out()).split('\n')) {
      if (line === '') continue;
      const [name, set, text] = line.split('\t');
      const target = (set === 'window' ? windowLabels : reportLabels)[name];
      if (target) target.textContent = text;
    }
  }
  function enableResult(on) {
    $('Nov1').disabled = !on;
    $('Tisk1').disabled = !on;
  }
  // The fragment for the field's text: "0145,500" gives "145,5".
  function fragmentOf(text) {
    const whole = text.slice(0, 4).trim().replace(/^0+(?=\d)/, '');
    const decimals = text.slice(5).trim().replace(/0+$/, '');
    return decimals ? `${whole},${decimals}` : whole;
  }
  function compute() {
    const outcome = M._hb_compute();
    if (outcome === 2) {
      showError(error());
      return;
    }
    if (outcome === 1) {
      enableResult(false);
      showWarning();
      return;
    }
    enableResult(true);
    applyCaptions();
    history.replaceState(null, '', `#f=${fragmentOf(fieldText())}`);
  }
  function reset() {
    const ok = M._hb_new();
    applyCaptions();
    run(ok);
    field.focus();
  }
  function command(name) {
    if (errorOpen) return;
    if (name === 'Potej1') compute();
    else if (name === 'Nov1' && !$('Nov1').disabled) reset();
    else if (name === 'Tisk1' && !$('Tisk1').disabled) {
      openPreview();
      window.print();
    } else if (name === 'Konec1') window.close();
  }
  document.addEventListener('keydown', (e) => {
    if (errorOpen) return;
    if (e.key === 'F5' && !e.altKey && !e.ctrlKey && !e.shiftKey) {
      e.preventDefault();  // computes; never reloads the page
      command('Potej1');
    } else if (e.altKey && !e.ctrlKey && commands[e.key.toLowerCase()] && $('preview').hidden) {
      e.preventDefault();
      command(commands[e.key.toLowerCase()]);
    } else if (e.key === 'Escape' && !$('preview').hidden) {
      closePreview();
    }
  });

  // ---- a link that computes: #f=145,5, and &print for the print view
  function openFragment() {
    const parts = location.hash.replace(/^#/, '').split('&');
    let print = false;
    let typed = null;
    for (const part of parts) {
      if (part === 'print') print = true;
      else if (part.startsWith('f=')) {
        try {
          typed = decodeURIComponent(part.slice(2));
        } catch (e) {
          typed = part.slice(2);
        }
      }
    }
    if (typed !== null) {
      if (!M._hb_field_text_of(input(typed, true))) {
        showError(error());
        return;
      }
      run(M._hb_set_text(M._hb_out()));
      compute();
    }
    if (print && !$('Tisk1').disabled) openPreview();
  }

  HB9CVModule().then((module) => {
    M = module;
    // Values are written with the decimal separator of the browser's locale, as the desktop
    // writes them with its locale's.
    const point = new Intl.NumberFormat(navigator.language).formatToParts(1.5)
      .find((part) => part.type === 'decimal');
    M._hb_set_decimal_separator((point ? point.value : '.').charCodeAt(0));
    M._hb_set_diameter_words(input(tr('Průměr %1 až %2 mm'), true));
    buildWindow();
    buildReport();
    if (!M._hb_field_init()) showError(error());
    field.focus();
    run(M._hb_edit(3, 0));
    window.addEventListener('hashchange', openFragment);
    openFragment();
    hooks.text = fieldText;
    hooks.ready = true;
  });
})();
