"""Debian's nginx serving a folder inside a lab namespace, as the update server would, for the
download tests and benchmarks. Two hosts, 127.0.0.1 and 127.0.0.2 (the namespace's loopback
answers for all of 127/8), each with the same locations:

  /files/<name>      the file, with byte ranges (Accept-Ranges), Last-Modified
  /noranges/<name>   the file without range support
  /slow/<name>       the file at most `slow_rate` per connection
  /crawl/<name>      the file at most 256 KB/s per connection
  /gzip/<name>       the file gzip-compressed on the way when the client accepts it
  /moved/<name>      a 302 to /files/<name> on the other host
  /update/<name>     the file <root>/update/<name>, as the update server serves its descriptor

Files named *.metalink go out as application/metalink+xml, everything else as
application/octet-stream.

Each request is logged as a JSON line: host, uri, status, body bytes sent, Range, user agent.

    server = Nginx(lab, root).start()
    server.url("files", "big.bin")        # "http://127.0.0.1:8080/files/big.bin"
    server.requests()                     # the logged requests, in order
"""
import json
import os
import signal
import subprocess
import time

HOSTS = ("127.0.0.1", "127.0.0.2")

CONFIG = """\
user root;
worker_processes 2;
pid {folder}/nginx.pid;
error_log {folder}/error.log;
events {{ worker_connections 256; }}
http {{
  log_format probe escape=json
    '{{"host":"$server_addr","uri":"$request_uri","status":$status,"sent":$body_bytes_sent,'
    '"range":"$http_range","agent":"$http_user_agent"}}';
  access_log {folder}/access.log probe;
  client_body_temp_path {folder}/tmp;
  proxy_temp_path {folder}/tmp;
  fastcgi_temp_path {folder}/tmp;
  uwsgi_temp_path {folder}/tmp;
  scgi_temp_path {folder}/tmp;
  sendfile on;
  default_type application/octet-stream;
  types {{ application/metalink+xml metalink; }}
{servers}
}}
"""

SERVER = """\
  server {{
    listen {host}:{port};
    location /files/ {{ alias {root}/; }}
    location /noranges/ {{ alias {root}/; max_ranges 0; }}
    location /slow/ {{ alias {root}/; limit_rate {slow_rate}; }}
    location /crawl/ {{ alias {root}/; limit_rate 256k; }}
    location /gzip/ {{ alias {root}/; gzip on; gzip_types *; gzip_min_length 0; }}
    location /moved/ {{ rewrite ^/moved/(.*)$ http://{other}:{port}/files/$1 redirect; }}
    location /update/ {{ root {root}; }}
  }}
"""


class Nginx:
    def __init__(self, lab, root, port=8080, slow_rate="2m"):
        self.lab = lab
        self.root = os.path.abspath(root)
        self.port = port
        self.folder = os.path.join(lab.workdir, f"nginx-{port}")
        self.slow_rate = slow_rate
        self.process = None

    def start(self):
        os.makedirs(os.path.join(self.folder, "tmp"), exist_ok=True)
        servers = "".join(SERVER.format(host=host, other=HOSTS[1 - i], port=self.port, root=self.root,
                                        slow_rate=self.slow_rate) for i, host in enumerate(HOSTS))
        config = os.path.join(self.folder, "nginx.conf")
        with open(config, "w") as f:
            f.write(CONFIG.format(folder=self.folder, servers=servers))
        self.process = self.lab.spawn(["nginx", "-c", config, "-g", "daemon off;"])
        # nginx listens before it writes its pid file.
        deadline = time.monotonic() + 30
        while not os.path.exists(os.path.join(self.folder, "nginx.pid")):
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("nginx did not start: " + self.errors())
            time.sleep(0.05)
        return self

    def kill(self):
        """Kills the server and its workers at once, as a crash would: connections end mid-answer.
        start() brings it back."""
        for pid in self._processes():
            os.kill(pid, signal.SIGKILL)
        self.process.wait(timeout=30)
        os.remove(os.path.join(self.folder, "nginx.pid"))

    def pause(self, paused):
        """Stops every nginx process where it stands (connections stay open, nothing moves), or
        lets them go on: a server that stalls."""
        for pid in self._processes():
            os.kill(pid, signal.SIGSTOP if paused else signal.SIGCONT)

    def _processes(self):
        workers = subprocess.run(["pgrep", "-P", str(self.process.pid)], capture_output=True, text=True).stdout
        return [self.process.pid] + [int(pid) for pid in workers.split()]

    def url(self, location, name, host=0):
        return f"http://{HOSTS[host]}:{self.port}/{location}/{name}"

    def requests(self):
        try:
            with open(os.path.join(self.folder, "access.log")) as log:
                return [json.loads(line) for line in log if line.strip()]
        except FileNotFoundError:
            return []

    def forget_requests(self):
        open(os.path.join(self.folder, "access.log"), "w").close()
        # Workers keep the log open: it is truncated in place, and they go on at its new end.

    def errors(self):
        try:
            with open(os.path.join(self.folder, "error.log")) as log:
                return log.read()
        except FileNotFoundError:
            return ""
