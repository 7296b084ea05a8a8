// The browser edition's page: it draws the session's view that the worker sends, asks
// its boxes, shows the progress, and hands the user's clicks to the worker. The browser's
// device chooser can only be opened here, on a click; the worker finds what was granted.
'use strict';

(() => {
    const $ = (id) => document.getElementById(id);
    const worker = new Worker('worker.js');
    let texts = null;
    let shown = null; // the session's last view: leaving, the wake lock and the switches follow it
    let wakeLock = null;
    let newVersion = null; // a newer build's service worker, waiting to take over
    let takingOver = false;

    const icons = { warning: '\u26A0', error: '\u2716', information: '\u2139' };
    // The session breaks lines as a Windows box does, "\r\n"; a page breaks at "\n".
    const lines = (text) => text.replace(/\r\n/g, '\n');

    function browserWantsGerman() {
        const saved = localStorage.getItem('orca-language');
        if (saved === 'de' || saved === 'en')
            return saved === 'de';
        for (const tag of navigator.languages || [navigator.language || 'en']) {
            const language = tag.toLowerCase().split('-')[0];
            if (language === 'de' || language === 'en')
                return language === 'de';
        }
        return false;
    }

    function onLinux() {
        return /Linux/.test(navigator.userAgent) && !/Android|CrOS/.test(navigator.userAgent);
    }

    function showTexts(message) {
        texts = message;
        document.documentElement.lang = message.german ? 'de' : 'en';
        $('language').value = message.german ? 'de' : 'en';
        $('language-label').textContent = message.language;
        $('connect').textContent = message.connect;
        $('update').textContent = message.update;
        $('hint-label').textContent = message.hintLabel;
        $('versions-caption').textContent = message.versions;
        $('linux-access').textContent = message.linuxAccess;
        $('linux-access').hidden = !onLinux();
        $('new-version-text').textContent = message.newVersion;
        $('reload').textContent = message.reload;
        $('notice').hidden = true;
        inUse({ where: heldBy });
        if (!('hid' in navigator))
            unsupported();
    }

    function unsupported() {
        $('window').hidden = true;
        $('unsupported').textContent = texts.noWebHid;
        $('unsupported').hidden = false;
    }

    function updateRunning() {
        return shown !== null && shown.updateRunning;
    }

    function render(view) {
        shown = view;
        document.title = view.title;
        $('title').textContent = view.title;
        $('unit-label').textContent = view.product;
        $('bootloader-label').textContent = view.bootloaderLabel;
        $('esc-label').textContent = view.controllerLabel;
        $('unit-version').value = view.unit;
        $('bootloader-version').value = view.bootloader;
        $('esc-version').value = view.controller;
        $('versions').classList.toggle('disabled', !view.versionsEnabled);
        if ($('hint').textContent !== lines(view.hint))
            $('hint').textContent = lines(view.hint);
        $('hint').dataset.outcome = view.outcome;
        $('update').disabled = !view.updateEnabled;
        $('language').disabled = view.updateRunning;
        $('connect').disabled = view.updateRunning;
        offerNewVersion();
        if (view.updateRunning)
            holdWakeLock();
        else if (wakeLock !== null)
            wakeLock.release();
        if ($('window').hidden && $('unsupported').hidden) {
            $('window').hidden = false;
            document.body.dataset.ready = 'true';
        }
    }

    // A modal box: OK or Yes accepts; Escape declines a question and closes a message.
    function ask(box) {
        const dialog = $('box');
        const question = box.buttons !== 'ok';
        $('box-caption').textContent = lines(box.caption);
        $('box-text').textContent = lines(box.text);
        $('box-icon').textContent = icons[box.icon] || '';
        $('box-icon').className = box.icon;
        dialog.dataset.id = box.id;
        $('box-accept').textContent = box.buttons === 'yes-no' ? texts.yes : texts.ok;
        $('box-decline').textContent = box.buttons === 'yes-no' ? texts.no : texts.cancel;
        $('box-decline').hidden = !question;
        const answer = (accepted) => {
            $('box-accept').onclick = $('box-decline').onclick = dialog.oncancel = null;
            dialog.close();
            worker.postMessage({ type: 'answer', accepted });
        };
        $('box-accept').onclick = () => answer(true);
        $('box-decline').onclick = () => answer(false);
        dialog.oncancel = (event) => {
            event.preventDefault();
            answer(!question);
        };
        dialog.showModal();
        $('box-accept').focus();
    }

    async function holdWakeLock() {
        if (!updateRunning() || wakeLock !== null || !('wakeLock' in navigator) || document.hidden)
            return;
        try {
            wakeLock = await navigator.wakeLock.request('screen');
            wakeLock.addEventListener('release', () => { wakeLock = null; });
        } catch (refused) {
            wakeLock = null; // battery saver or policy: the update goes on without it
        }
    }

    // A newer build is offered only while no update runs: taking it reloads the page.
    function offerNewVersion() {
        $('new-version').hidden = newVersion === null || texts === null || updateRunning();
    }

    function followNewVersions(registration) {
        const found = (worker) => {
            if (worker === null || navigator.serviceWorker.controller === null)
                return; // the first visit's worker takes over at once: nothing is newer
            newVersion = worker;
            offerNewVersion();
        };
        found(registration.waiting);
        registration.addEventListener('updatefound', () => {
            const installing = registration.installing;
            installing.addEventListener('statechange', () => {
                if (installing.state === 'installed')
                    found(installing);
            });
        });
    }

    // Another window of this updater holds the unit: which one, until it lets go.
    let heldBy = null;
    function inUse({ where }) {
        heldBy = where;
        if (texts === null)
            return;
        $('in-use').textContent = where === null ? '' : where === 'app' ? texts.inUseApp : texts.inUseTab;
        $('in-use').hidden = where === null;
    }

    function progressOpen(message) {
        $('progress-title').textContent = message.title;
        $('progress-bar').value = 0;
        $('progress-text').textContent = ''; // until the update's own first state
        $('progress').showModal();
    }

    function progress(state) {
        $('progress-bar').value = state.percent;
        $('progress-text').textContent = state.text;
    }

    function progressClose() {
        $('progress').close();
    }

    const messages = {
        texts: showTexts,
        view: render,
        ask,
        'progress-open': progressOpen,
        progress,
        'progress-close': progressClose,
        'no-webhid': unsupported,
        'in-use': inUse,
        end: () => { $('update').disabled = true; $('connect').disabled = true; },
    };
    worker.onmessage = (event) => {
        const handle = messages[event.data.type];
        if (handle)
            handle(event.data);
    };

    $('update').addEventListener('click', () => worker.postMessage({ type: 'update' }));

    $('connect').addEventListener('click', async () => {
        $('notice').hidden = true;
        let devices = [];
        try {
            devices = await navigator.hid.requestDevice({
                filters: texts.productIds.map((productId) => ({ vendorId: texts.vendorId, productId })),
            });
        } catch (refused) {
            devices = []; // the chooser was closed, or the browser refused to show it
        }
        if (devices.length === 0) {
            $('notice').textContent = texts.noneChosen;
            $('notice').hidden = false;
            return;
        }
        worker.postMessage({ type: 'granted' });
    });

    $('language').addEventListener('change', () => {
        localStorage.setItem('orca-language', $('language').value);
        worker.postMessage({ type: 'language', german: $('language').value === 'de' });
    });

    $('progress').addEventListener('cancel', (event) => event.preventDefault());

    $('reload').addEventListener('click', () => {
        if (newVersion === null || updateRunning())
            return;
        takingOver = true;
        newVersion.postMessage({ type: 'take-over' });
    });

    // Offline after one visit: the service worker keeps every file of the site.
    if ('serviceWorker' in navigator) {
        navigator.serviceWorker.register('service_worker.js').then(followNewVersions, () => {});
        navigator.serviceWorker.addEventListener('controllerchange', () => {
            if (takingOver)
                location.reload();
        });
    }

    // Leaving or reloading the page from the lock to its release would cut the update.
    window.addEventListener('beforeunload', (event) => {
        if (!updateRunning())
            return;
        event.preventDefault();
        event.returnValue = '';
    });
    document.addEventListener('visibilitychange', holdWakeLock);

    worker.postMessage({ type: 'start', german: browserWantsGerman(),
        standalone: matchMedia('(display-mode: standalone)').matches });
})();
