#!/usr/bin/python3
"""A TCP relay that makes a server look far away: what the server sends reaches the client
--delay-ms later, with no more than --window bytes on the way (as on a link whose pipe holds that
much: its rate times its delay); what the client sends passes at once. A lab shapes the relay's port to the link's rate.
The kernel's delaying queue discipline is not on every machine, hence a relay.
Prints "ready" once it listens."""
import argparse
import asyncio
import time


async def pipe(reader, writer):
    try:
        while data := await reader.read(65536):
            writer.write(data)
            await writer.drain()
    except (ConnectionError, OSError):
        pass
    finally:
        writer.close()


async def delayed(reader, writer, delay, window):
    queue = asyncio.Queue()
    room = asyncio.Condition()
    waiting = 0

    async def deliver():
        nonlocal waiting
        try:
            while True:
                due, data = await queue.get()
                await asyncio.sleep(max(0.0, due - time.monotonic()))
                if not data:
                    break
                writer.write(data)
                await writer.drain()
                async with room:
                    waiting -= len(data)
                    room.notify()
        except (ConnectionError, OSError):
            pass
        finally:
            writer.close()

    delivering = asyncio.ensure_future(deliver())
    try:
        while data := await reader.read(65536):
            async with room:
                await room.wait_for(lambda: waiting < window or delivering.done())
                if delivering.done():
                    break
                waiting += len(data)
            queue.put_nowait((time.monotonic() + delay, data))
    except (ConnectionError, OSError):
        pass
    queue.put_nowait((time.monotonic() + delay, b""))
    await delivering


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--listen", required=True, help="address:port to listen on")
    parser.add_argument("--server", required=True, help="address:port of the server")
    parser.add_argument("--delay-ms", type=float, required=True)
    parser.add_argument("--window", type=int, default=512 * 1024)
    options = parser.parse_args()
    server_host, server_port = options.server.rsplit(":", 1)
    listen_host, listen_port = options.listen.rsplit(":", 1)

    async def relay(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection(server_host, int(server_port))
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pipe(client_reader, server_writer),
                             delayed(server_reader, client_writer, options.delay_ms / 1000, options.window))

    async def serve():
        server = await asyncio.start_server(relay, listen_host, int(listen_port))
        print("ready", flush=True)
        async with server:
            await server.serve_forever()

    asyncio.run(serve())


if __name__ == "__main__":
    main()
