// A fake WebHID for the demo page and the page's tests: navigator.hid in the page and in
// its worker, with devices that answer as the simulated unit does (sim_device.wasm, in the
// worker). The page's side plays the browser's chooser and keeps the grants; the worker's
// side holds the units. They talk over a BroadcastChannel.
//
// In the page, before its scripts: window.fakeHidSetup = { units: [{...}], granted: [0],
// chooser: 'first' | 'cancel' } (default: one demo DOCK-BOX, granted when chosen).
// window.fakeHid then plugs, unplugs, swaps the controller, arms faults and reads the
// transcript.
'use strict';

(() => {
    const inWorker = typeof document === 'undefined';
    const channel = new BroadcastChannel('orca-fake-hid');
    const vendorId = 0x1f4b;
    const names = { 1: 'DOCKPAD', 2: 'DOCK-BOX' };
    const faultKinds = ['write-fails', 'read-fails', 'status-error', 'lock-refused', 'patch-answer',
        'unplug', 'never-answers', 'never-taken'];

    class FakeDevice extends EventTarget {
        constructor(number, productId, reportLength) {
            super();
            this.number = number;
            this.vendorId = vendorId;
            this.productId = productId;
            this.productName = names[productId] || 'HID device';
            this.opened = false;
            this.reportLength = reportLength;
            const items = [{ reportSize: 8, reportCount: reportLength - 1 }];
            this.collections = [{ usagePage: 0xff00, usage: 1, children: [],
                outputReports: [{ reportId: 1, items }], inputReports: [{ reportId: 2, items }],
                featureReports: [] }];
        }
    }

    class FakeHid extends EventTarget {
        constructor() {
            super();
            this.devices = new Map(); // number -> FakeDevice
            this.granted = new Set();
            this.present = new Set();
        }
        async getDevices() {
            await this.ready;
            return [...this.present].filter((n) => this.granted.has(n)).map((n) => this.devices.get(n));
        }
        fire(type, number) {
            if (this.granted.has(number))
                this.dispatchEvent(Object.assign(new Event(type), { device: this.devices.get(number) }));
        }
    }

    const hid = new FakeHid();
    Object.defineProperty(self.navigator, 'hid', { value: hid, configurable: true });

    if (!inWorker) {
        // The page: the chooser, the grants (kept as a browser keeps them per site), the
        // test's controls.
        const setup = Object.assign({ units: [{}], granted: null, chooser: 'first' }, self.fakeHidSetup || {});
        const saved = JSON.parse(localStorage.getItem('orca-fake-granted') || '[]');
        const granted = setup.granted || saved;
        granted.forEach((n) => hid.granted.add(n));
        let nextQuery = 1;
        const replies = new Map();
        hid.ready = Promise.resolve();
        hid.requestDevice = async ({ filters }) => {
            if (setup.chooser === 'cancel')
                return [];
            const match = (d) => filters.some((f) => f.vendorId === d.vendorId && f.productId === d.productId);
            const offered = [...hid.present].map((n) => hid.devices.get(n)).filter(match);
            if (offered.length === 0)
                return [];
            const chosen = offered[0];
            hid.granted.add(chosen.number);
            localStorage.setItem('orca-fake-granted', JSON.stringify([...hid.granted]));
            await query({ op: 'grant', number: chosen.number });
            return [chosen];
        };
        const query = (message) => new Promise((resolve) => {
            const id = nextQuery++;
            replies.set(id, resolve);
            channel.postMessage(Object.assign({ id }, message));
        });
        channel.onmessage = ({ data }) => {
            if (data.op === 'hello')
                channel.postMessage({ op: 'setup', units: setup.units, granted: [...hid.granted] });
            else if (data.op === 'reply' && replies.has(data.id)) {
                replies.get(data.id)(data.value);
                replies.delete(data.id);
            } else if (data.op === 'devices') {
                for (const d of data.list) {
                    if (!hid.devices.has(d.number))
                        hid.devices.set(d.number, new FakeDevice(d.number, d.productId, d.reportLength));
                    const was = hid.present.has(d.number);
                    if (d.present)
                        hid.present.add(d.number);
                    else
                        hid.present.delete(d.number);
                    if (was !== d.present)
                        hid.fire(d.present ? 'connect' : 'disconnect', d.number);
                }
            }
        };
        self.fakeHid = {
            setChooser: (policy) => { setup.chooser = policy; },
            plug: (unit = {}) => query({ op: 'plug', unit }),
            unplug: (number = 0) => query({ op: 'unplug', number }),
            // Another controller behind the unit, with no device change to tell.
            swap: (number, controller) => query({ op: 'swap', number, controller }),
            fault: (number, fault) => query({ op: 'fault', number, fault }),
            transcript: () => query({ op: 'transcript' }),
            moments: () => query({ op: 'moments' }),
            state: (number = 0) => query({ op: 'state', number }),
        };
        return;
    }

    // The worker: the simulated units and their reports.
    importScripts('sim_device.js');
    let sim = null;
    // When each request was taken and answered, when the answer's event was made, and when
    // the core took the answer from its queue, on the worker's clock.
    const moments = [];
    let plugged = 0;
    const simIndex = new Map(); // number -> index on the simulated bus
    let setupDone;
    hid.ready = new Promise((resolve) => { setupDone = resolve; });

    function announce() {
        const list = [...hid.devices.values()].map((d) => ({ number: d.number, productId: d.productId,
            reportLength: d.reportLength, present: hid.present.has(d.number) }));
        channel.postMessage({ op: 'devices', list });
    }

    function plug(unit) {
        const number = plugged++;
        const index = sim._simDeviceAddUnit(number, unit.productId || 0, unit.escFirmwareVersion || 0,
            unit.escState || 0, unit.inBootloader ? 1 : 0, unit.typeCode || 0);
        simIndex.set(number, index);
        const device = new FakeDevice(number, unit.productId || 2, sim._simDeviceOutputLength(index));
        device.open = async () => { device.opened = true; };
        device.close = async () => { device.opened = false; };
        device.sendReport = (reportId, data) => send(device, index, reportId, data);
        device.inputLength = sim._simDeviceInputLength(index);
        device.buffer = sim._malloc(Math.max(device.reportLength, device.inputLength));
        hid.devices.set(number, device);
        hid.present.add(number);
        hid.fire('connect', number);
        announce();
        return number;
    }

    function unplug(number) {
        if (!hid.present.has(number))
            return;
        sim._simDeviceRemove(simIndex.get(number));
        hid.present.delete(number);
        hid.fire('disconnect', number);
        announce();
    }

    // The unit takes the request, and its answer follows as an input report: at once by
    // microtask (a real report is not held back in a hidden tab), or when it is ready.
    // Everything from the call on is the unit's own time.
    async function send(device, index, reportId, data) {
        const takenAt = performance.now();
        if (!hid.present.has(device.number) || !device.opened)
            throw new DOMException('Failed to write the report.', 'NotAllowedError');
        const length = device.reportLength;
        sim.HEAPU8.fill(0, device.buffer, device.buffer + length);
        sim.HEAPU8[device.buffer] = reportId;
        sim.HEAPU8.set(new Uint8Array(data.buffer, data.byteOffset, Math.min(data.byteLength, length - 1)),
            device.buffer + 1);
        const took = sim._simDeviceTake(index, device.buffer, length);
        if (took === 2)
            return new Promise(() => {}); // a write that never completes
        const taken = took === 1;
        if (taken)
            moments.push({ takenAt, answeredAt: null, eventAt: null, coreTookAt: null });
        if (!sim._simDevicePresent(index)) {
            hid.present.delete(device.number);
            queueMicrotask(() => { hid.fire('disconnect', device.number); announce(); });
        }
        if (!taken)
            throw new DOMException('Failed to write the report.', 'NotAllowedError');
        queueMicrotask(() => answer(device, index));
    }

    function answer(device, index) {
        const length = device.inputLength;
        const result = sim._simDeviceGive(index, device.buffer, length);
        if (result === 1) {
            setTimeout(() => answer(device, index), 1);
            return;
        }
        if (result !== 0 || !device.opened)
            return;
        const bytes = sim.HEAPU8.slice(device.buffer, device.buffer + length);
        const moment = moments[moments.length - 1];
        const fresh = moment && moment.answeredAt === null;
        if (fresh)
            moment.answeredAt = performance.now();
        const event = new Event('inputreport');
        if (fresh)
            moment.eventAt = event.timeStamp;
        Object.assign(event, { device, reportId: bytes[0], data: new DataView(bytes.buffer, 1) });
        device.dispatchEvent(event);
    }

    function transcript() {
        const count = sim._simDeviceRequests();
        const buffer = sim._malloc(256);
        const devicePointer = sim._malloc(4);
        const times = sim._malloc(16);
        const requests = [];
        for (let i = 0; i < count; ++i) {
            const length = sim._simDeviceRequest(i, devicePointer, buffer, 256);
            sim._simDeviceTimes(i, times, times + 8);
            requests.push({ device: sim.HEAP32[devicePointer >> 2],
                bytes: Array.from(sim.HEAPU8.subarray(buffer, buffer + length)),
                writtenAt: sim.HEAPF64[times >> 3], readAt: sim.HEAPF64[(times >> 3) + 1] });
        }
        sim._free(buffer);
        sim._free(devicePointer);
        sim._free(times);
        return requests;
    }

    function state(number) {
        const index = simIndex.get(number);
        const capacity = sim._simDeviceFlashLength(index);
        const buffer = sim._malloc(Math.max(capacity, 1));
        const length = sim._simDeviceFlash(index, buffer, capacity);
        const flash = Array.from(sim.HEAPU8.subarray(buffer, buffer + length));
        sim._free(buffer);
        return { violations: sim._simDeviceViolations(index), lockHeld: sim._simDeviceLockHeld(index) === 1,
            present: hid.present.has(number), flash };
    }

    const reply = (id, value) => channel.postMessage({ op: 'reply', id, value });
    channel.onmessage = ({ data }) => {
        if (sim === null && data.op !== 'setup')
            return;
        switch (data.op) {
        case 'setup':
            if (sim === null)
                createSimDevice().then((module) => {
                    sim = module;
                    sim._simDeviceReset();
                    // The seam's queue is the worker's own: its reads are stamped here.
                    const takeQueued = self.orcaWebHid.takeQueued;
                    self.orcaWebHid.takeQueued = (number) => {
                        const report = takeQueued(number);
                        const moment = moments[moments.length - 1];
                        if (report !== null && moment && moment.coreTookAt === null)
                            moment.coreTookAt = performance.now();
                        return report;
                    };
                    data.granted.forEach((n) => hid.granted.add(n));
                    data.units.forEach(plug);
                    setupDone();
                });
            break;
        case 'grant':
            hid.granted.add(data.number);
            reply(data.id, true);
            break;
        case 'plug':
            reply(data.id, plug(data.unit));
            break;
        case 'unplug':
            unplug(data.number);
            reply(data.id, true);
            break;
        case 'swap':
            sim._simDeviceSwap(simIndex.get(data.number), data.controller.typeCode >>> 0,
                data.controller.escFirmwareVersion);
            reply(data.id, true);
            break;
        case 'fault': {
            const f = data.fault;
            sim._simDeviceFault(simIndex.get(data.number), faultKinds.indexOf(f.kind),
                f.command === undefined ? -1 : f.command, f.nth || 0, f.code || 0, f.lastError || 31);
            reply(data.id, true);
            break;
        }
        case 'transcript':
            reply(data.id, transcript());
            break;
        case 'moments':
            reply(data.id, moments);
            break;
        case 'state':
            reply(data.id, state(data.number));
            break;
        }
    };
    channel.postMessage({ op: 'hello' });
})();
