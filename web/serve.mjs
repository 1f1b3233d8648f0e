// A static server for the page on 127.0.0.1, sending the page's
// Content-Security-Policy with every answer.
//   node web/serve.mjs [--port N] [PREFIX=]DIR...
// Each DIR answers for URLs under /PREFIX/ (or /); the first that holds
// the file wins. Port 0 takes any free port. Prints "serving http://…/".
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, normalize, resolve, sep } from 'node:path';

export const kPolicy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; " +
  "img-src 'self' data: blob:; connect-src 'self' data: blob:; media-src blob:; object-src 'none'; " +
  "base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.json': 'application/json', '.png': 'image/png', '.svg': 'image/svg+xml',
};

/** The file a URL path names under the mounts ([{prefix, dir}]), or null; never a path outside a mount's folder. */
export async function findFile(mounts, urlPath) {
  let path;
  try {
    path = decodeURIComponent(urlPath.split('?')[0]);
  } catch {
    return null;
  }
  if (path.endsWith('/')) path += 'index.html';
  for (const { prefix, dir } of mounts) {
    if (!path.startsWith(prefix)) continue;
    const file = resolve(dir, '.' + normalize('/' + path.slice(prefix.length)));
    if (file !== dir && !file.startsWith(dir + sep)) continue;
    try {
      if ((await stat(file)).isFile()) return file;
    } catch {}
  }
  return null;
}

/** Starts serving the mounts on 127.0.0.1:`port`; resolves to the server once it listens. */
export function serve(mounts, port = 8080) {
  const server = createServer(async (request, answer) => {
    const file = request.method === 'GET' || request.method === 'HEAD' ? await findFile(mounts, request.url) : null;
    const head = { 'Content-Security-Policy': kPolicy, 'X-Content-Type-Options': 'nosniff', 'Cache-Control': 'no-cache' };
    if (!file) {
      answer.writeHead(404, { ...head, 'Content-Type': 'text/plain' }).end('not found\n');
      return;
    }
    const body = await readFile(file);
    answer.writeHead(200, { ...head, 'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream' });
    answer.end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

/** The mounts named by command-line arguments "[PREFIX=]DIR". */
export function mountsOf(args) {
  return args.map((arg) => {
    const at = arg.indexOf('=');
    const prefix = at < 0 ? '/' : `/${arg.slice(0, at).replace(/^\/|\/$/g, '')}/`;
    return { prefix, dir: resolve(at < 0 ? arg : arg.slice(at + 1)) };
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const args = process.argv.slice(2);
  let port = 8080;
  if (args[0] === '--port') port = Number(args.splice(0, 2)[1]);
  const server = await serve(mountsOf(args.length ? args : ['build/web']), port);
  console.log(`serving http://127.0.0.1:${server.address().port}/`);
}
