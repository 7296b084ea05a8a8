// The worker's side of the WebHID seam (platform/web/hid_web.cpp): the granted devices
// under stable paths, one open handle per device with its queue of input reports, the
// last error, and the arrivals and removals waiting for the core. Errors are errno
// values, as on Linux, so that a code line reads alike.
//
// One page at a time talks to a unit: every page, tab and installed window of the site
// shares the browser's input reports of a device it opens, so each would read the other's
// answers. An open handle holds a Web Lock named for the unit's vendor and product (WebHID
// tells no serial number, so two units alike are one lock); another page's open then
// fails as in use, is told which window holds the unit, and tries again by itself once
// the lock is free.
'use strict';

self.orcaWebHid = (() => {
    const errors = { ENOENT: 2, EIO: 5, EACCES: 13, EBUSY: 16, ENODEV: 19, EINVAL: 22, ETIMEDOUT: 110 };
    const hid = self.navigator.hid;
    const pathOf = new Map(); // HIDDevice -> path
    const deviceAt = new Map(); // path -> HIDDevice
    const handles = new Map(); // handle -> { device, queue, wake, gone, listener }
    const present = new Set(); // paths the core has been told of
    const events = [];
    let watching = false;
    let nextPath = 0;
    let nextHandle = 1;
    // notBefore: the moment on this worker's clock before which no report leaves, the end
    // of the core's last wait (platform/web/clock_web.cpp).
    // onInUse(where): a unit could not be opened because another window holds it ('app',
    // 'tab'), or null once it is free again. where: this page's own kind of window.
    const api = { errors, lastError: 0, onHotPlug: () => {}, notBefore: 0, onInUse: () => {},
        where: 'tab' };
    const locks = self.navigator.locks;
    const holders = typeof BroadcastChannel === 'function' ? new BroadcastChannel('orca-75-lx-units') : null;
    const held = new Set(); // lock names this worker holds
    const hex4 = (n) => n.toString(16).padStart(4, '0');
    const lockName = (device) => `orca-75-lx unit ${hex4(device.vendorId)}:${hex4(device.productId)}`;

    if (holders)
        holders.onmessage = (event) => {
            if (event.data && event.data.who !== undefined && held.has(event.data.who))
                holders.postMessage({ holder: event.data.who, where: api.where });
        };

    // The release of the lock, or null when another window holds it. Without Web Locks
    // (none in an insecure context) nothing is shared.
    function claim(device) {
        if (!locks)
            return Promise.resolve(() => {});
        const name = lockName(device);
        return new Promise((resolve) => {
            locks.request(name, { ifAvailable: true }, (lock) => {
                if (lock === null) {
                    resolve(null);
                    return undefined;
                }
                held.add(name);
                return new Promise((release) => resolve(() => {
                    held.delete(name);
                    release();
                }));
            }).catch(() => resolve(null));
        });
    }

    // Which window holds the unit, as its own worker answers; a tab if none answers.
    function askHolder(name) {
        return new Promise((resolve) => {
            if (!holders) {
                resolve('tab');
                return;
            }
            const asking = new BroadcastChannel('orca-75-lx-units');
            const timer = setTimeout(() => done('tab'), 500);
            const done = (where) => {
                clearTimeout(timer);
                asking.close();
                resolve(where);
            };
            asking.onmessage = (event) => {
                if (event.data && event.data.holder === name)
                    done(event.data.where === 'app' ? 'app' : 'tab');
            };
            asking.postMessage({ who: name });
        });
    }

    // Once the other window lets go, the unit arrives here again.
    const waitingFor = new Set();
    async function whenFree(device, path) {
        const name = lockName(device);
        if (waitingFor.has(name))
            return;
        waitingFor.add(name);
        api.onInUse(await askHolder(name));
        await locks.request(name, () => {}).catch(() => {});
        waitingFor.delete(name);
        api.onInUse(null);
        if (watching && present.has(path)) {
            events.push({ arrival: true, path });
            api.onHotPlug();
        }
    }

    function fail(error) {
        api.lastError = error;
        return 0;
    }

    function named(device) {
        let path = pathOf.get(device);
        if (path === undefined) {
            path = 'webhid:' + nextPath++;
            pathOf.set(device, path);
            deviceAt.set(path, device);
        }
        return path;
    }

    function queue(arrival, path) {
        if (arrival ? present.has(path) : !present.has(path))
            return;
        if (arrival)
            present.add(path);
        else
            present.delete(path);
        if (!watching)
            return;
        events.push({ arrival, path });
        api.onHotPlug();
    }

    // A device unplugged fails its transfers at once, and the waiting read with them.
    function gone(device) {
        for (const handle of handles.values()) {
            if (handle.device !== device)
                continue;
            handle.gone = true;
            if (handle.wake)
                handle.wake();
        }
    }

    if (hid) {
        hid.addEventListener('connect', (event) => queue(true, named(event.device)));
        hid.addEventListener('disconnect', (event) => {
            gone(event.device);
            queue(false, named(event.device));
        });
    }

    // The whole report's length, report id included, of the first collection that has
    // reports of that direction.
    function lengthOf(device, output) {
        for (const collection of device.collections || []) {
            const reports = output ? collection.outputReports : collection.inputReports;
            if (!reports || reports.length === 0)
                continue;
            let bits = 0;
            for (const item of reports[0].items || [])
                bits += item.reportSize * item.reportCount;
            return Math.ceil(bits / 8) + 1;
        }
        return 0;
    }

    api.available = () => Boolean(hid);

    api.list = async () => {
        if (!hid)
            return [];
        const devices = await hid.getDevices();
        return devices.map(named);
    };

    // After the page's chooser granted a device: what the core has not heard of arrives.
    api.rescan = async () => {
        for (const path of await api.list())
            queue(true, path);
    };

    api.peekIds = (path) => {
        const device = deviceAt.get(path);
        return device ? (device.vendorId << 16) | device.productId : -1;
    };

    api.open = async (path) => {
        const device = deviceAt.get(path);
        if (!device || !(await api.list()).includes(path))
            return fail(errors.ENOENT);
        for (const handle of handles.values())
            if (handle.device === device)
                return fail(errors.EBUSY);
        if (device.opened)
            return fail(errors.EBUSY);
        const release = await claim(device);
        if (release === null) {
            whenFree(device, path);
            return fail(errors.EBUSY);
        }
        try {
            await device.open();
        } catch (error) {
            release();
            return fail(error && error.name === 'NotAllowedError' ? errors.EACCES : errors.EIO);
        }
        // Each report with when it arrived; the last one taken's arrival, which the wait
        // after an answer counts from.
        const handle = { device, queue: [], wake: null, gone: false, takenArrival: -1, release };
        handle.listener = (event) => {
            const data = new Uint8Array(event.data.buffer, event.data.byteOffset, event.data.byteLength);
            const report = new Uint8Array(data.length + 1);
            report[0] = event.reportId;
            report.set(data, 1);
            // The event was made when the report reached this worker, a moment before
            // its listener runs.
            const now = performance.now();
            report.arrivedAt = event.timeStamp > 0 && event.timeStamp <= now ? event.timeStamp : now;
            handle.queue.push(report);
            if (handle.wake)
                handle.wake();
        };
        device.addEventListener('inputreport', handle.listener);
        const number = nextHandle++;
        handles.set(number, handle);
        return number;
    };

    api.attributes = (number) => {
        const handle = handles.get(number);
        if (!handle)
            return fail(errors.EINVAL) - 1;
        return (handle.device.vendorId << 16) | handle.device.productId;
    };

    api.reportLength = (number, output) => {
        const handle = handles.get(number);
        const length = handle ? lengthOf(handle.device, output) : 0;
        return length > 1 ? length : fail(errors.EINVAL);
    };

    api.flush = (number) => {
        const handle = handles.get(number);
        if (handle)
            handle.queue.length = 0;
    };

    // A transfer that outlasts its time-out cannot be taken back from the browser; its
    // queued input is dropped so that a late answer is never taken for the next one. The
    // report leaves first, and the result comes back in as few steps as can be: every
    // step delays the core's next request.
    api.write = (number, report, timeoutMs) => {
        const handle = handles.get(number);
        if (!handle)
            return fail(errors.EINVAL);
        if (handle.gone)
            return fail(errors.ENODEV);
        const data = report.subarray(1);
        while (performance.now() < api.notBefore);
        let sent;
        try {
            sent = handle.device.sendReport(report[0], data);
        } catch (error) {
            return fail(errors.EIO);
        }
        return new Promise((resolve) => {
            const timer = setTimeout(() => {
                handle.queue.length = 0;
                resolve(fail(errors.ETIMEDOUT));
            }, timeoutMs);
            sent.then(() => {
                clearTimeout(timer);
                resolve(handle.gone ? fail(errors.ENODEV) : 1);
            }, () => {
                clearTimeout(timer);
                resolve(fail(handle.gone ? errors.ENODEV : errors.EIO));
            });
        });
    };

    const take = (handle) => {
        const report = handle.queue.shift();
        handle.takenArrival = report.arrivedAt;
        return report;
    };

    api.takeQueued = (number) => {
        const handle = handles.get(number);
        return handle && handle.queue.length > 0 ? take(handle) : null;
    };

    api.lastArrival = (number) => {
        const handle = handles.get(number);
        return handle ? handle.takenArrival : -1;
    };

    api.read = async (number, timeoutMs) => {
        const handle = handles.get(number);
        if (!handle) {
            fail(errors.EINVAL);
            return null;
        }
        if (handle.queue.length === 0 && !handle.gone) {
            let timer;
            await new Promise((resolve) => {
                handle.wake = resolve;
                timer = setTimeout(resolve, timeoutMs);
            });
            clearTimeout(timer);
            handle.wake = null;
        }
        if (handle.queue.length > 0)
            return take(handle);
        fail(handle.gone ? errors.ENODEV : errors.ETIMEDOUT);
        return null;
    };

    api.close = async (number) => {
        const handle = handles.get(number);
        if (!handle)
            return;
        handles.delete(number);
        handle.device.removeEventListener('inputreport', handle.listener);
        const error = api.lastError;
        try {
            await handle.device.close();
        } catch (ignored) {
            // a device already gone is closed
        }
        handle.release();
        api.lastError = error;
    };

    // The devices granted at the start are present without arriving.
    api.watch = () => {
        if (!hid)
            return false;
        watching = true;
        return true;
    };
    api.start = async () => {
        for (const path of await api.list())
            present.add(path);
    };
    api.nextEvent = () => (events.length > 0 ? events.shift() : null);
    api.unwatch = () => {
        watching = false;
        events.length = 0;
    };

    return api;
})();
