// The page's side of the program's windows: builds each window in the DOM from what
// WebPlatform.cpp hands it, gives it the desktop behaviour the program relies on (a title bar
// to drag it by, key preview, focus given back, the tab order, menu shortcuts from every
// window, modal boxes), and turns what the user does into events for the program's loop. A
// task bar at the foot of the page names every window shown, so that one hidden behind
// another, or minimised, is a click or a tap away, on a phone's small screen too.
var Varkelo = (() => {
    // What the program's loop is told, with the form's id and a detail.
    const CLICK = 1, KEY = 2, CLOSE = 3, MENU = 4, PREPARE = 5;
    const LABEL = 0, EDIT = 1, BUTTON = 2, DOCUMENT = 3;
    const CURSORS = ['default', 'text', 'crosshair', 'pointer'];

    const forms = []; // by id
    let main = null, active = null, box = null, ended = false, topmost = 0, menuOpen = null;
    const queue = [];
    let wake = null;

    const make = (tag, className, parent) => {
        const element = document.createElement(tag);
        if (className) element.className = className;
        if (parent) parent.appendChild(element);
        return element;
    };
    const desktop = () => document.getElementById('desktop');
    const taskbar = () => document.getElementById('taskbar');
    const post = (kind, form, detail) => {
        queue.push(kind * 0x1000000 + form * 0x10000 + detail);
        if (wake) wake(), wake = null;
    };
    const formOf = (node) => forms.find(f => f && f.el.contains(node));
    // No control: what a lookup finds when there is none. (The build's script minifier knows
    // neither optional chaining nor for-of loops.)
    const NONE = {kind: -1};
    const controlOf = (node) => {
        const f = formOf(node);
        return (f && f.controls.find(c => c.el === node)) || NONE;
    };
    const named = (id, name) => forms[id].controls.find(c => c.el.dataset.name === name) || NONE;
    const shown = (f) => f && !f.el.hidden && !f.minimised;

    // The help comes as Markdown: headings, lists, tables and bold, built as elements.
    function markdown(text, into) {
        into.replaceChildren();
        let list = null, table = null;
        const inline = (line, parent) => line.split('**').forEach((part, i) => {
            if (part) (i % 2 ? make('strong', '', parent) : parent).append(part);
        });
        text.split('\n').forEach(line => {
            if (!line.startsWith('- ')) list = null;
            if (!line.startsWith('|')) table = null;
            const heading = /^(#+) (.*)/.exec(line);
            if (heading) {
                inline(heading[2], make('h' + heading[1].length, '', into));
            } else if (line.startsWith('- ')) {
                list ??= make('ul', '', into);
                inline(line.slice(2), make('li', '', list));
            } else if (line.startsWith('|')) {
                if (/^\|[-:| ]+\|$/.test(line)) return; // a table's rule
                const header = !table;
                table ??= make('table', '', into);
                const row = make('tr', '', table);
                line.slice(1, -1).split('|').forEach(
                    cell => inline(cell.trim(), make(header ? 'th' : 'td', '', row)));
            } else if (line.trim()) {
                inline(line, make('p', '', into));
            }
        });
    }

    function raise(f) {
        f.el.style.zIndex = ++topmost;
    }

    // The active window has the keyboard: its title lit, the focus where it was last.
    function activate(f, giveFocus = true) {
        if (active !== f) {
            if (active) active.el.classList.remove('active');
            if (active) active.task.setAttribute('aria-pressed', 'false');
            active = f;
            if (f) f.el.classList.add('active');
            if (f) f.task.setAttribute('aria-pressed', 'true');
        }
        if (!f) return;
        raise(f);
        if (giveFocus) focus(f.last ?? f.tab[0], true);
    }

    // Entered other than by a click, a field has its whole text selected.
    function focus(control, select) {
        if (!control) return;
        control.el.focus({preventScroll: !select});
        if (select && control.kind === EDIT) control.el.select();
    }

    // The window in front of those shown, once the active one has gone.
    function activateFrontmost() {
        const next = forms.filter(shown).sort((a, b) => b.el.style.zIndex - a.el.style.zIndex)[0];
        activate(next || null);
        if (!next && document.activeElement) document.activeElement.blur();
    }

    // Centred on the visible part of the page, or over the main window, and kept on it.
    function place(f) {
        const view = document.documentElement;
        const [width, height] = [f.el.offsetWidth, f.el.offsetHeight];
        const area = {left: scrollX, top: scrollY, width: view.clientWidth,
                      height: view.clientHeight - taskbar().offsetHeight};
        const around = f.overMain && main && main !== f && !main.el.hidden
            ? {left: main.el.offsetLeft, top: main.el.offsetTop, width: main.el.offsetWidth,
               height: main.el.offsetHeight}
            : area;
        const centred = (low, size, length, areaLow, areaLength) =>
            Math.max(areaLow, Math.min(Math.floor(low + (size - length) / 2),
                                       areaLow + areaLength - length));
        f.el.style.left = centred(around.left, around.width, width, area.left, area.width) + 'px';
        f.el.style.top = centred(around.top, around.height, height, area.top, area.height) + 'px';
    }

    // With the browser's own fonts a label may be wider than the room before its field: it is
    // narrowed to fit rather than run into the field.
    function fitLabels(f) {
        f.controls.forEach((c, i) => {
            const next = f.controls[i + 1] || NONE;
            if (c.kind !== LABEL || next.kind !== EDIT) return;
            const room = next.el.offsetLeft - c.el.offsetLeft - 3;
            c.el.style.fontSize = '';
            if (c.el.offsetWidth > room)
                c.el.style.fontSize = (11 * room / c.el.offsetWidth).toFixed(2) + 'px';
        });
    }

    function show(id) {
        const f = forms[id];
        f.el.hidden = f.task.hidden = false;
        setMinimised(f, false);
        if (!f.placed) {
            f.placed = true;
            fitLabels(f);
            place(f);
        }
        activate(f);
    }

    function hide(id) {
        const f = forms[id];
        if (f.el.contains(document.activeElement)) document.activeElement.blur();
        f.el.hidden = f.task.hidden = true;
        if (active === f) activateFrontmost();
    }

    function setMinimised(f, minimised) {
        f.minimised = minimised;
        f.el.classList.toggle('minimised', minimised);
        if (minimised && active === f) {
            if (f.el.contains(document.activeElement)) document.activeElement.blur();
            activateFrontmost();
        }
    }

    // Dragged by its title bar, with a mouse or a finger; kept where its title can be reached.
    function draggable(f, title) {
        title.addEventListener('pointerdown', (event) => {
            if (event.button !== 0 || event.target.closest('button')) return;
            const [x, y] = [event.pageX - f.el.offsetLeft, event.pageY - f.el.offsetTop];
            title.setPointerCapture(event.pointerId);
            const move = (e) => {
                f.el.style.left = Math.max(40 - f.el.offsetWidth, e.pageX - x) + 'px';
                f.el.style.top = Math.max(0, e.pageY - y) + 'px';
            };
            title.addEventListener('pointermove', move);
            title.addEventListener('pointerup', () => title.removeEventListener('pointermove', move),
                                   {once: true});
        });
    }

    function titleButton(f, bar, className, label, action) {
        const button = make('button', className, bar);
        button.type = 'button';
        button.tabIndex = -1;
        button.title = label;
        button.setAttribute('aria-label', label);
        button.addEventListener('click', action);
    }

    function createForm(id, name, caption, border, minimise, maximise, width, height, outer,
                        overMain, role) {
        const el = make('section', 'window', desktop());
        el.hidden = true;
        el.dataset.form = name;
        el.setAttribute('role', role);
        el.setAttribute('aria-labelledby', 'caption' + id);
        if (border === 2) el.classList.add('sizeable');
        const f = {id, el, controls: [], tab: [], menu: [], keys: {}, last: null, overMain,
                   placed: false, minimised: false};
        forms[id] = f;
        main ??= f;
        const title = make('header', 'title', el);
        const text = make('span', 'caption', title);
        text.id = 'caption' + id;
        text.textContent = caption;
        const buttons = make('span', 'buttons', title);
        if (minimise)
            titleButton(f, buttons, 'minimise', 'Свернуть', () => setMinimised(f, !f.minimised));
        if (maximise)
            titleButton(f, buttons, 'maximise', 'Развернуть',
                        () => el.classList.toggle('maximised'));
        titleButton(f, buttons, 'close', 'Закрыть', () => post(CLOSE, id, 0));
        draggable(f, title);
        f.task = make('button', 'task', taskbar());
        f.task.type = 'button';
        f.task.hidden = true;
        f.task.tabIndex = -1;
        f.task.textContent = caption;
        f.task.addEventListener('click', () => {
            if (box) return;
            setMinimised(f, false);
            activate(f);
        });
        f.client = make('div', 'client', el);
        if (outer) {
            el.style.width = width + 'px';
            el.style.height = height + 'px';
        } else {
            f.client.style.width = width + 'px';
            f.client.style.height = height + 'px';
        }
    }

    function addControl(formId, index, kind, name, text, left, top, width, height, cursor, hint,
                        maxLength, tabIndex) {
        const f = forms[formId];
        const tags = ['label', 'input', 'button', 'div'];
        const el = make(tags[kind], ['label', 'edit', 'button', 'document'][kind], f.client);
        el.id = `f${formId}-${name}`;
        el.dataset.name = name;
        const control = {el, kind, index, tabIndex};
        if (kind === EDIT) {
            el.type = 'text';
            el.value = text;
            el.maxLength = maxLength;
            el.autocomplete = 'off';
            el.spellcheck = false;
            el.setAttribute('autocapitalize', 'off');
            // A label directly before a field names it.
            const previous = f.controls[f.controls.length - 1] || NONE;
            if (previous.kind === LABEL) previous.el.htmlFor = el.id;
        } else if (kind === DOCUMENT) {
            el.setAttribute('role', 'document');
            el.setAttribute('aria-label', text);
        } else {
            el.textContent = text;
        }
        if (kind === BUTTON) {
            el.type = 'button';
            el.addEventListener('click', () => post(CLICK, formId, index));
        }
        if (kind !== DOCUMENT) {
            el.style.left = left + 'px';
            el.style.top = top + 'px';
            if (width > 0) el.style.width = width + 'px';
            el.style.height = height + 'px';
        }
        el.style.cursor = CURSORS[cursor];
        if (hint) el.title = hint;
        el.tabIndex = tabIndex >= 0 ? 0 : -1;
        f.controls.push(control);
        if (tabIndex >= 0) {
            f.tab.push(control);
            f.tab.sort((a, b) => a.tabIndex - b.tabIndex);
        }
    }

    // The menu bar: a heading opens its menu, whose items name their shortcuts.
    function addMenuItem(formId, index, caption, heading, functionKey) {
        const f = forms[formId];
        if (!f.bar) {
            f.bar = make('nav', 'menubar');
            f.bar.setAttribute('role', 'menubar');
            f.el.insertBefore(f.bar, f.client);
        }
        if (heading) {
            const opener = make('button', 'heading', f.bar);
            opener.type = 'button';
            opener.tabIndex = -1;
            opener.textContent = caption;
            opener.setAttribute('role', 'menuitem');
            opener.setAttribute('aria-haspopup', 'menu');
            opener.setAttribute('aria-expanded', 'false');
            const list = make('div', 'menu', f.bar);
            list.setAttribute('role', 'menu');
            list.setAttribute('aria-label', caption);
            list.hidden = true;
            const at = f.menu.push({opener, list, items: []}) - 1;
            opener.addEventListener('click', () => {
                if (menuOpen && menuOpen.opener === opener) closeMenus();
                else openMenu(at);
            });
            opener.addEventListener('pointerenter', () => {
                if (menuOpen && menuOpen.opener !== opener) openMenu(at);
            });
            return;
        }
        const menu = f.menu[f.menu.length - 1];
        const item = make('button', 'item', menu.list);
        item.type = 'button';
        item.tabIndex = -1;
        item.setAttribute('role', 'menuitem');
        make('span', '', item).textContent = caption;
        if (functionKey) {
            make('span', 'key', item).textContent = 'F' + functionKey;
            item.setAttribute('aria-keyshortcuts', 'F' + functionKey);
            f.keys['F' + functionKey] = index;
        }
        item.addEventListener('click', () => {
            closeMenus();
            post(MENU, formId, index);
        });
        menu.items.push(item);
    }

    function openMenu(at, focusItem = false) {
        const menus = main.menu;
        closeMenus(false);
        menuOpen = menus[(at + menus.length) % menus.length];
        menuOpen.list.hidden = false;
        menuOpen.opener.setAttribute('aria-expanded', 'true');
        menuOpen.opener.classList.add('open');
        (focusItem ? menuOpen.items[0] : menuOpen.opener).focus();
    }

    function closeMenus(restore = true) {
        if (!menuOpen) return;
        const had = menuOpen.list.contains(document.activeElement) ||
                    menuOpen.opener === document.activeElement;
        menuOpen.list.hidden = true;
        menuOpen.opener.setAttribute('aria-expanded', 'false');
        menuOpen.opener.classList.remove('open');
        menuOpen = null;
        if (restore && had && active) focus(active.last ?? active.tab[0], false);
    }

    // The keys of an open menu: arrows walk it, Enter and Space choose, Esc leaves it.
    function menuKey(event) {
        const menus = main.menu, at = menus.indexOf(menuOpen);
        const items = menuOpen.items, item = items.indexOf(document.activeElement);
        const step = {ArrowDown: 1, ArrowUp: -1}[event.key];
        if (event.key === 'ArrowRight' || event.key === 'ArrowLeft')
            openMenu(at + (event.key === 'ArrowRight' ? 1 : -1), item >= 0);
        else if (step)
            items[(item + step + items.length + (item < 0 && step < 0 ? 1 : 0)) % items.length]
                .focus();
        else if (event.key === 'Enter' || event.key === ' ')
            (item >= 0 ? items[item] : items[0]).click();
        else if (event.key === 'Escape' || event.key === 'Tab' || event.key === 'F10')
            closeMenus();
        else return false;
        return true;
    }

    // Keys before any window sees them: the box's, the menu shortcuts from every window, an
    // open menu's, Tab in the active window's own order, and the key preview of Enter and Esc.
    let altAlone = false;
    function onKeyDown(event) {
        altAlone = event.key === 'Alt';
        if (ended) return;
        const key = event.key, plain = !event.ctrlKey && !event.altKey && !event.metaKey;
        if (box) {
            if (key === 'Enter' || key === 'Escape' || key === ' ') box.close();
            if (!(event.ctrlKey && (key === 'c' || key === 'с' || event.code === 'KeyC')))
                event.preventDefault();
            return;
        }
        if (/^F[1-6]$/.test(key) && plain) {
            event.preventDefault();
            closeMenus();
            if (main && main.keys[key] !== undefined) post(MENU, main.id, main.keys[key]);
            return;
        }
        if (menuOpen) {
            if (menuKey(event)) event.preventDefault();
            return;
        }
        if (key === 'F10' && plain && active === main) {
            event.preventDefault();
            openMenu(0);
            return;
        }
        if (!active) return;
        if (key === 'Tab' && !event.ctrlKey && !event.altKey) {
            event.preventDefault();
            const tab = active.tab, at = tab.findIndex(c => c.el === document.activeElement);
            const step = event.shiftKey ? -1 : 1;
            focus(tab[(at < 0 && step < 0 ? 0 : at + step + tab.length) % tab.length], true);
        } else if ((key === 'Enter' || key === 'Escape') && plain) {
            event.preventDefault();
            const control = controlOf(document.activeElement);
            // A focused button takes Enter itself; the window does not see it.
            if (key === 'Enter' && control.kind === BUTTON)
                post(CLICK, active.id, control.index);
            else
                post(KEY, active.id, key === 'Enter' ? 13 : 27);
        }
    }

    // Alt pressed and let go alone opens the menu bar, as on the desktop.
    function onKeyUp(event) {
        if (event.key === 'Alt' && altAlone && !box && !ended && active === main) {
            event.preventDefault();
            menuOpen ? closeMenus() : openMenu(0);
        }
        altAlone = false;
    }

    // Where the focus goes, its window comes forward and remembers it.
    function onFocusIn(event) {
        const f = formOf(event.target);
        if (!f || box) return;
        if (active !== f) activate(f, false);
        const control = f.controls.find(c => c.el === event.target);
        if (control && control.tabIndex >= 0) f.last = control;
    }

    // A press on a window brings it forward; on its empty part, the keyboard goes back where
    // it was in that window.
    function onPointerDown(event) {
        if (menuOpen && !menuOpen.list.contains(event.target) &&
            !event.target.closest('.menubar'))
            closeMenus(false);
        if (event.target.closest('#taskbar')) event.preventDefault(); // the focus stays
        const f = formOf(event.target);
        if (!f || box || ended) return;
        const control = f.controls.find(c => c.el === event.target);
        activate(f, !control || control.tabIndex < 0);
        if (!control && !event.target.closest('button')) event.preventDefault();
    }

    // Ctrl+C in a box copies its text, as on the desktop.
    function onCopy(event) {
        if (!box) return;
        event.clipboardData.setData('text/plain', box.text);
        event.preventDefault();
    }

    // A modal box with one button; every window waits until it is closed.
    async function showBox(text, error) {
        const cover = make('div', 'modal', document.body);
        const el = make('section', 'window box active', cover);
        el.setAttribute('role', 'alertdialog');
        el.setAttribute('aria-modal', 'true');
        el.setAttribute('aria-labelledby', 'box-caption');
        el.setAttribute('aria-describedby', 'box-text');
        const caption = make('span', 'caption', make('header', 'title', el));
        caption.id = 'box-caption';
        caption.textContent = 'Варкело';
        const body = make('div', 'body', el);
        if (error) make('span', 'error', body).setAttribute('aria-hidden', 'true');
        const message = make('p', 'message', body);
        message.id = 'box-text';
        message.textContent = text;
        const ok = make('button', 'button', make('div', 'buttons', el));
        ok.type = 'button';
        ok.textContent = 'ОК';
        await new Promise(resolve => {
            box = {text, close: resolve};
            ok.addEventListener('click', resolve);
            ok.focus();
        });
        box = null;
        cover.remove();
        if (active) focus(active.last ?? active.tab[0], true);
    }

    function initialize() {
        const bar = make('nav', '', document.body);
        bar.id = 'taskbar';
        bar.setAttribute('aria-label', 'Окна программы');
        addEventListener('keydown', onKeyDown, true);
        addEventListener('keyup', onKeyUp, true);
        addEventListener('focusin', onFocusIn);
        addEventListener('pointerdown', onPointerDown, true);
        addEventListener('copy', onCopy);
    }

    // The program has ended: its windows are gone, and the page says so.
    function end() {
        ended = true;
        taskbar().remove();
        const note = make('div', 'ended', desktop());
        note.setAttribute('role', 'status');
        make('p', '', note).textContent = 'Программа завершена.';
        const again = make('button', 'button', note);
        again.type = 'button';
        again.textContent = 'Запустить снова';
        again.addEventListener('click', () => location.reload());
        again.focus();
    }

    return {
        initialize, createForm, addControl, addMenuItem, show, hide, end, showBox,
        destroy(id) {
            const f = forms[id];
            if (active === f) activate(null);
            f.el.remove();
            f.task.remove();
            forms[id] = null;
            if (main === f) main = null;
        },
        // The main window on the screen, and once it is painted, the program's preparation.
        run(id) {
            show(id);
            requestAnimationFrame(() => setTimeout(() => post(PREPARE, id, 0)));
        },
        async nextEvent() {
            while (!queue.length) await new Promise(resolve => wake = resolve);
            return queue.shift();
        },
        text(id, name) {
            const control = named(id, name);
            return control.kind === EDIT ? control.el.value : '';
        },
        setText(id, name, text) {
            const control = named(id, name);
            if (control.kind === EDIT) control.el.value = text;
            else if (control.kind === DOCUMENT) markdown(text, control.el);
        },
        focusControl(id, name) {
            const control = named(id, name);
            if (control === NONE) return;
            forms[id].last = control;
            focus(control, true);
        },
    };
})();
