// Serves a folder of static files on localhost (a secure context, as WebHID needs),
// gzipped where the browser accepts it, cross-origin isolated (a finer clock for the
// waits): node scripts/serve-web.mjs FOLDER [PORT]
// Prints the address; port 0 takes a free one.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';

const types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json',
};

// The site's own policy, from its page, as a header, which also covers its workers and
// forbids framing (a meta element cannot).
export async function sitePolicy(folder) {
    const page = await readFile(join(resolve(folder), 'index.html'), 'utf8');
    const policy = /http-equiv="Content-Security-Policy" content="([^"]*)"/.exec(page);
    return policy ? `${policy[1]}; frame-ancestors 'none'` : null;
}

// `isolated`: with the headers that make the page cross-origin isolated. `prelude`: text
// put before a file's own, by its path (tests only). `replace`: a file's whole content
// instead of the one on disk (tests only).
export async function serve(folder, port = 0, { isolated = true, prelude = {}, replace = {} } = {}) {
    const root = resolve(folder);
    const policy = await sitePolicy(folder);
    const server = createServer(async (request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
        if (!file.startsWith(root + '/')) {
            response.writeHead(403).end();
            return;
        }
        let body;
        try {
            body = replace[path] || await readFile(file);
        } catch {
            response.writeHead(404).end();
            return;
        }
        if (prelude[path])
            body = Buffer.concat([Buffer.from(prelude[path]), body]);
        const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream',
            'Cache-Control': 'no-cache' };
        if (policy !== null)
            headers['Content-Security-Policy'] = policy;
        if (isolated)
            Object.assign(headers, { 'Cross-Origin-Opener-Policy': 'same-origin',
                'Cross-Origin-Embedder-Policy': 'require-corp' });
        if (/\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
            body = gzipSync(body, { level: 9 });
            headers['Content-Encoding'] = 'gzip';
        }
        headers['Content-Length'] = body.length;
        response.writeHead(200, headers).end(body);
    });
    return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
    const server = await serve(process.argv[2] || 'build/web-demo', Number(process.argv[3] || 8075));
    console.log(`Serving ${process.argv[2] || 'build/web-demo'} at http://localhost:${server.address().port}/`);
    console.log('Open it in Chrome, Edge, Opera or Chromium. Ctrl+C ends it.');
}
