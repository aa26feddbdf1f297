"""The self-update end to end, as a user meets it (update_end_to_end_s): seconds from the click on
the upgrade dialog's button to the new version's window on the screen. The release is the next
build made 10 MB long (data after its image), offered by the lab's update server and downloaded by
the program over a link of 100 Mbit/s with 20 ms delay (the download benchmark's link), then
checked, put in place and started; the figure includes the old program's end and the new one's
start under Wine. The better of two runs."""
import os
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402
from program import HEIGHT, WIDTH, Program  # noqa: E402
from update_server import (PROMPT_TEXT, UPGRADE_BUTTON, UpdateServer, UpgradeDialog, padded_release,  # noqa: E402
                           signing_key)

SIZE = 10 * 1024 * 1024
NAME = "MivoraBoxAssistant.exe"
LINK_RATE, LINK_DELAY_MS, LINK_PORT = "100mbit", 20, 8180
RUNS = 2


def one_upgrade(lab, build, dialog):
    """Seconds from the button to the new program's window."""
    lab.wine_output(["reg", "delete", "HKCU\\Software\\ClientFrame", "/f"])
    program = Program(lab, build, args=())
    prompt = dialog.wait(lambda s: s["visible"] and dialog.text(s) == PROMPT_TEXT, 90)
    if not prompt:
        raise RuntimeError("the upgrade was not offered")
    started = time.monotonic()
    dialog.click(prompt, UPGRADE_BUTTON)
    # The old window goes when the upgrade starts; the next one to show is the new program's.
    if not wait_until(lambda: program.screen.window(WIDTH, HEIGHT) is None, 30, interval=0.02):
        raise RuntimeError("the main window did not go away")
    if not wait_until(lambda: program.screen.window(WIDTH, HEIGHT), 300, interval=0.02):
        raise RuntimeError("the new program's window did not show")
    seconds = time.monotonic() - started
    if program.process.wait(timeout=60) != 0:
        raise RuntimeError("the old program did not end well")
    lab.wine_output([dialog.wintool, "close", "ClientFrame" + "X" * 30])
    wait_until(lambda: dialog.main_windows(shown_only=False) == 0, 30)
    return seconds


def run(build):
    if not signing_key(build):
        return
    with Lab(build) as lab:
        server = UpdateServer(lab, build).start()
        lab.server_link("127.0.0.1", server.port, LINK_PORT, LINK_RATE, LINK_DELAY_MS)
        path = padded_release(build, lab.workdir, SIZE)
        server.publish(path, url=f"http://{server.names[0]}:{LINK_PORT}/files/{NAME}")
        dialog = UpgradeDialog(lab, build)
        yield "update_end_to_end_s", f"{min(one_upgrade(lab, build, dialog) for _ in range(RUNS)):.2f}"
