"""The upgrade as a user sees it, for the demo and the README's screenshots: the lab's update server
offers the next build to the program of this build, the user presses "自动升级", the download runs
with its bar, and the new program, started in the old one's place, names its version in its About
box. shot(name) takes each picture."""
import time

from lab import wait_until
from program import ABOUT_AT, HEIGHT, WIDTH, Program
from update_server import PROMPT_TEXT, UPGRADE_BUTTON, UpdateServer, UpgradeDialog, padded_release, signing_key

NAME = "MivoraBoxAssistant.exe"
# Large and slow enough (/crawl/: 256 KB/s per connection) for the bar to be seen moving.
RELEASE_SIZE = 8 * 1024 * 1024


def walk_through_upgrade(lab, build, shot):
    if not signing_key(build):
        print("the build trusts a release key of its own: the demo cannot sign an upgrade for it")
        return
    server = UpdateServer(lab, build).start()
    release = padded_release(build, lab.workdir, RELEASE_SIZE)
    server.publish(release, url=server.url("crawl", NAME))

    # A program that has not asked the update server today.
    lab.wine_output(["reg", "delete", "HKCU\\Software\\ClientFrame", "/f"])
    program = Program(lab, build, args=())
    dialog = UpgradeDialog(lab, build)
    prompt = dialog.wait(lambda s: s["visible"] and dialog.text(s) == PROMPT_TEXT, 90)
    if not prompt:
        raise RuntimeError("the upgrade was not offered")
    shot("update-prompt")
    dialog.click(prompt, UPGRADE_BUTTON)
    dialog.wait(lambda s: (s["progress"] or 0) >= 30, 60)
    shot("update-progress")
    program.process.wait(timeout=120)
    origin = wait_until(lambda: program.screen.window(WIDTH, HEIGHT), 60)
    if not origin:
        raise RuntimeError("the new program's window did not show")
    program.origin = origin
    time.sleep(1.0)
    program.click(ABOUT_AT)
    time.sleep(1.5)
    shot("update-about")
