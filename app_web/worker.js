// The browser edition's Dedicated Worker: the core (session, update, unit link) and its
// WebHID seam run here, where the update's 20 ms waits keep their timing in a hidden tab.
// The core takes one call at a time: the page's events and the device changes wait in
// order until it is idle, and a box's answer resumes the call that asked.
'use strict';

importScripts('web_hid.js', 'orca_core.js');

const waiting = [];
let busy = false;
let core = null;
let answerBox = null;
let updatePressed = false;

self.orcaPage = {
    post: (message) => self.postMessage(message),
    ask: (message) =>
        new Promise((resolve) => {
            answerBox = resolve;
            self.postMessage(message);
        }),
};

function whenIdle(work) {
    waiting.push(work);
    drain();
}

async function drain() {
    if (busy || core === null)
        return;
    busy = true;
    while (waiting.length > 0)
        await waiting.shift()();
    busy = false;
}

// The calls that may wait for the browser, which JSPI suspends; the rest never do.
const suspendingEntries = ['orcaStart', 'orcaLanguage', 'orcaUpdate', 'orcaDeviceChanges'];
self.orcaStackSwitching = typeof WebAssembly.Suspending === 'function'
    && typeof WebAssembly.promising === 'function';

// With JSPI the module's imports that return a promise suspend it, and its entries return
// one. Asyncify's own wrapping still follows: it does nothing while nothing unwinds.
function instantiateWasm(imports, receive) {
    const suspending = {};
    for (const [module, functions] of Object.entries(imports)) {
        suspending[module] = {};
        for (const [name, value] of Object.entries(functions))
            suspending[module][name] = typeof value === 'function' && value.name.startsWith('__asyncjs__')
                ? new WebAssembly.Suspending(value) : value;
    }
    const ready = ({ instance, module }) => {
        const exports = { ...instance.exports };
        for (const name of suspendingEntries)
            exports[name] = WebAssembly.promising(instance.exports[name]);
        receive({ exports }, module);
    };
    const file = 'orca_core.wasm';
    WebAssembly.instantiateStreaming(fetch(file, { credentials: 'same-origin' }), suspending).then(ready,
        () => fetch(file, { credentials: 'same-origin' }).then((response) => response.arrayBuffer())
            .then((bytes) => WebAssembly.instantiate(bytes, suspending)).then(ready));
    return {};
}

function callCore(name, ...args) {
    return core.ccall(name, null, args.map(() => 'number'), args, { async: true });
}

function postTexts() {
    const pointer = core.ccall('orcaPageTexts', 'number', [], []);
    self.postMessage(JSON.parse(core.UTF8ToString(pointer)));
    core._free(pointer);
}

self.orcaWebHid.onHotPlug = () => whenIdle(() => callCore('orcaDeviceChanges'));
self.orcaWebHid.onInUse = (where) => self.postMessage({ type: 'in-use', where });

const messages = {
    // The language first; the session only where WebHID reaches the unit from here.
    start: async ({ german, standalone }) => {
        self.orcaWebHid.where = standalone ? 'app' : 'tab';
        core = await createCore(self.orcaStackSwitching ? { instantiateWasm } : {});
        whenIdle(async () => {
            await callCore('orcaLanguage', german ? 1 : 0);
            postTexts();
            if (!self.orcaWebHid.available()) {
                self.postMessage({ type: 'no-webhid' });
                return;
            }
            await self.orcaWebHid.start();
            await callCore('orcaStart');
        });
    },
    language: ({ german }) =>
        whenIdle(async () => {
            await callCore('orcaLanguage', german ? 1 : 0);
            postTexts();
        }),
    // A second click before the first one's confirmation shows is the same press.
    update: () => {
        if (updatePressed)
            return;
        updatePressed = true;
        whenIdle(async () => {
            await callCore('orcaUpdate');
            updatePressed = false;
        });
    },
    granted: () => self.orcaWebHid.rescan(),
    answer: ({ accepted }) => {
        const resolve = answerBox;
        answerBox = null;
        if (resolve)
            resolve(accepted);
    },
};

self.onmessage = (event) => {
    const handle = messages[event.data.type];
    if (handle)
        handle(event.data);
};
