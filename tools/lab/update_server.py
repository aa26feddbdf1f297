"""The update server in a lab, and what a user sees of an upgrade.

UpdateServer is Debian's nginx answering, inside the lab, for the host name of the build's update
server (MIVORA_UPDATE_SERVER) and for a mirror host beside it; the lab's own hosts file makes both
names lead to the lab's loopback, so the program asks the real name and reaches nothing outside.
publish() puts a release there as tools/release-sign signs it with the build's development key:
the program file, the descriptor "/update/checkupdate.ini" and, when asked, a metalink descriptor
of its mirrors.

    server = UpdateServer(lab, build).start()
    server.publish(next_exe, mirrors=[server.url("files", "gone.exe"), server.url("slow", name, 1)])

UpgradeDialog reads the upgrade dialog from outside the program (tools/testprogs/wintool): its
texts, whether its controls show and are enabled, the progress bar's position, where to click."""
import os
import re
import shutil
import subprocess
import sys
import urllib.parse

from lab import wait_until
from nginx import Nginx

HERE = os.path.dirname(os.path.abspath(__file__))
RELEASE_SIGN = os.path.join(HERE, "..", "release-sign")
PROGRAM_NAME = "MivoraBoxAssistant.exe"
MAIN_CLASS = "ClientFrame" + "X" * 30
DIALOG_TITLE = "升级程序"
UPGRADE_BUTTON, PROGRESS_BAR, STATUS_TEXT, CANCEL_BUTTON = 1101, 1102, 1103, 2
PROMPT_TEXT = "检测到有新版本更新，请点击自动升级下载并安装！"
UPGRADING_TEXT = "正在升级，请稍等..."
FAILED_TEXT = "升级失败，请稍后重试！"


def cache_value(build, name):
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        for line in f:
            match = re.match(rf"{name}:\w+=(.*)$", line.rstrip("\n"))
            if match:
                return match.group(1)
    return ""


def padded_release(build, folder, size):
    """The build's next program (bin/next) copied into folder/release, with random data after its
    image (which changes nothing of it) up to size bytes: a release as large as wanted."""
    path = os.path.join(folder, "release", PROGRAM_NAME)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    shutil.copyfile(os.path.join(build, "bin", "next", PROGRAM_NAME), path)
    with open(path, "ab") as f:
        f.write(os.urandom(size - os.path.getsize(path)))
    return path


def signing_key(build):
    """The private key the build's program trusts releases of: its development key, unless the
    build was given a release key of its own (then no test can sign for it)."""
    if cache_value(build, "MIVORA_RELEASE_PUBLIC_KEY"):
        return None
    return os.path.join(build, "release-key", "development.pem")


class UpdateServer:
    def __init__(self, lab, build, slow_rate="2m"):
        self.lab = lab
        self.build = build
        address = urllib.parse.urlsplit(cache_value(build, "MIVORA_UPDATE_SERVER"))
        self.names = (address.hostname, "mirror." + address.hostname)
        self.port = address.port or 80
        self.www = os.path.join(lab.workdir, "update-www")
        os.makedirs(os.path.join(self.www, "update"), exist_ok=True)
        self.nginx = Nginx(lab, self.www, port=self.port, slow_rate=slow_rate)

    def start(self):
        for name, address in zip(self.names, ("127.0.0.1", "127.0.0.2")):
            self.lab.add_host(name, address)
        self.nginx.start()
        return self

    def url(self, location, name, host=0):
        port = "" if self.port == 80 else f":{self.port}"
        return f"http://{self.names[host]}{port}/{location}/{name}"

    def publish(self, program, url=None, mirrors=(), name=None, key=None):
        """Serves program under name (its own by default) and offers it: the descriptor names url
        (by default /files/<name>), or with mirrors a metalink descriptor of them."""
        name = name or os.path.basename(program)
        shutil.copyfile(program, os.path.join(self.www, name))
        command = [sys.executable, RELEASE_SIGN, "--key", key or signing_key(self.build),
                   "--out", os.path.join(self.www, "update", "checkupdate.ini")]
        if mirrors:
            metalink = name + ".metalink"
            url = url or self.url("update", metalink)
            command += ["--metalink", os.path.join(self.www, "update", metalink)]
            for mirror in mirrors:
                command += ["--mirror", mirror]
        command += ["--url", url or self.url("files", name), program]
        subprocess.run(command, check=True)
        return os.path.join(self.www, name)

    def requests(self):
        return self.nginx.requests()


class UpgradeDialog:
    def __init__(self, lab, build):
        self.lab = lab
        self.wintool = os.path.join(build, "bin", "wintool.exe")

    def state(self):
        """{"visible": bool, "controls": {id: (visible, enabled, x, y, text)}, "progress": int} of
        the dialog, or None while there is none."""
        out = self.lab.wine_output([self.wintool, "dialog", DIALOG_TITLE])
        state = None
        for line in out.splitlines():
            words = line.split(" ", 6)
            if words[0] == "dialog":
                state = {"visible": words[1] == "1", "controls": {}, "progress": None}
            elif words[0] == "control" and state:
                state["controls"][int(words[1])] = (words[2] == "1", words[3] == "1", int(words[4]), int(words[5]),
                                                    words[6] if len(words) > 6 else "")
            elif words[0] == "progress" and state:
                state["progress"] = int(words[2])
        return state

    def wait(self, predicate, timeout):
        """The first state for which predicate holds, or None."""
        found = wait_until(lambda: (lambda s: s if s and predicate(s) else None)(self.state()), timeout, interval=0.2)
        return found or None

    @staticmethod
    def text(state):
        return state["controls"].get(STATUS_TEXT, (False, False, 0, 0, ""))[4]

    @staticmethod
    def shows(state, control):
        return state["controls"].get(control, (False,))[0]

    @staticmethod
    def enabled(state, control):
        return state["controls"].get(control, (False, False))[1]

    def click(self, state, control):
        _, _, x, y, _ = state["controls"][control]
        self.lab.run_in(self.lab.pc, ["xdotool", "mousemove", str(x), str(y), "click", "1"],
                        env=self.lab.wine_env(), timeout=30)

    def main_windows(self, shown_only=True):
        out = self.lab.wine_output([self.wintool, "shown" if shown_only else "count", MAIN_CLASS]).strip()
        return int(out or -1)
