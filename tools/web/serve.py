#!/usr/bin/env python3
"""The page as the server will serve it, for trying it before the server does:
the files of a built page (make web: build/web) over HTTP on 127.0.0.1, with
the Content-Security-Policy the server will send, and on the same port every
WebSocket upgrade relayed, byte for byte, to a capzel-server.

    python3 tools/web/serve.py [--root build/web] [--port 8080] [--server-port 47474]

Without --server-port only the files are served (a demo: ?demo=FILE).
Loopback only. Prints "serving http://127.0.0.1:PORT/" once it listens.
"""
import argparse
import asyncio
import mimetypes
import os
import sys

POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; connect-src 'self'; img-src 'self'; "
          "style-src 'self'; object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'")
TYPES = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
         '.wasm': 'application/wasm', '.json': 'application/json'}


def reply(writer, status, body=b'', content_type='text/plain; charset=utf-8'):
    head = [f'HTTP/1.1 {status}', f'Content-Type: {content_type}', f'Content-Length: {len(body)}',
            f'Content-Security-Policy: {POLICY}', 'X-Content-Type-Options: nosniff', 'Cache-Control: no-cache',
            'Connection: close', '', '']
    writer.write('\r\n'.join(head).encode() + body)


async def pipe(reader, writer):
    try:
        while data := await reader.read(65536):
            writer.write(data)
            await writer.drain()
    except (ConnectionError, asyncio.CancelledError):
        pass
    finally:
        writer.close()


async def handle(reader, writer, root, server_port):
    try:
        head = await asyncio.wait_for(reader.readuntil(b'\r\n\r\n'), 10)
    except (asyncio.IncompleteReadError, asyncio.LimitOverrunError, asyncio.TimeoutError, ConnectionError):
        writer.close()
        return
    lines = head.decode('latin-1').split('\r\n')
    parts = lines[0].split(' ')
    headers = {k.strip().lower(): v.strip() for k, _, v in (l.partition(':') for l in lines[1:] if l)}
    if headers.get('upgrade', '').lower() == 'websocket':
        if not server_port:
            reply(writer, '404 Not Found', b'no server\n')
            writer.close()
            return
        try:
            up_reader, up_writer = await asyncio.open_connection('127.0.0.1', server_port)
        except OSError:
            reply(writer, '502 Bad Gateway', b'the game server is not running\n')
            writer.close()
            return
        up_writer.write(head)
        await asyncio.gather(pipe(reader, up_writer), pipe(up_reader, writer))
        return
    path = parts[1].split('?', 1)[0] if len(parts) > 1 else '/'
    if path == '/':
        path = '/index.html'
    full = os.path.realpath(os.path.join(root, path.lstrip('/')))
    if parts[0] not in ('GET', 'HEAD') or not full.startswith(root + os.sep) or not os.path.isfile(full):
        reply(writer, '404 Not Found', b'not found\n')
    else:
        with open(full, 'rb') as f:
            body = f.read()
        ext = os.path.splitext(full)[1]
        reply(writer, '200 OK', body if parts[0] == 'GET' else b'',
              TYPES.get(ext, mimetypes.guess_type(full)[0] or 'application/octet-stream'))
    await writer.drain()
    writer.close()


async def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--root', default='build/web')
    parser.add_argument('--port', type=int, default=8080)
    parser.add_argument('--server-port', type=int, default=0)
    args = parser.parse_args()
    root = os.path.realpath(args.root)
    server = await asyncio.start_server(lambda r, w: handle(r, w, root, args.server_port), '127.0.0.1', args.port)
    port = server.sockets[0].getsockname()[1]
    print(f'serving http://127.0.0.1:{port}/', flush=True)
    async with server:
        await server.serve_forever()


if __name__ == '__main__':
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(0)
