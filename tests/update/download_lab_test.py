#!/usr/bin/python3
"""The download engine under Wine against real servers in a lab namespace: nginx, the tests' own
scripted HTTP server and pyftpdlib. Wine's WinINet is the client; nothing stands between the engine
and the sockets. What the engine did is read from the files it wrote and from the servers' logs."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import download_lab  # noqa: E402
from download_lab import DownloadLab, read_trailer, trailer_bytes, wait_until  # noqa: E402

SCRIPTED = f"http://127.0.0.1:{download_lab.SCRIPTED_PORT}"
FTP = f"ftp://127.0.0.1:{download_lab.FTP_PORT}"
FTP_PASSIVE_ONLY = f"ftp://127.0.0.1:{download_lab.FTP_PASSIVE_ONLY_PORT}"
RETRY_S = 10
LAB = None
SMALL_DISK = None
SIZE = 3_000_000


def setUpModule():
    global LAB, SMALL_DISK
    # The lab's processes see only the mounts that exist when they start.
    SMALL_DISK = tempfile.mkdtemp(prefix="mvrdisk-")
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", SMALL_DISK], check=True)
    try:
        LAB = DownloadLab().__enter__()
    except BaseException:
        tearDownModule()
        raise


def tearDownModule():
    if LAB:
        LAB.__exit__(None, None, None)
    if SMALL_DISK:
        subprocess.run(["umount", SMALL_DISK], capture_output=True)
        shutil.rmtree(SMALL_DISK, ignore_errors=True)


def ranged(requests):
    return [r for r in requests if r["range"]]


def missing_bytes(trailer):
    return sum(end - (start + received) + 1 for _, _, start, end, received in trailer)


def range_start(request):
    return int(request["range"].split("=")[1].rstrip("-"))


class FreshDownloads(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = LAB.make_file("fresh.bin", SIZE, seed=11)

    def test_one_five_and_ten_connections_give_the_same_file(self):
        for connections in (1, 5, 10):
            with self.subTest(connections=connections):
                LAB.nginx.forget_requests()
                run = LAB.download(LAB.nginx.url("files", "fresh.bin"), f"fresh-{connections}.bin",
                                   "--connections", str(connections), "--timeout", "60000")
                self.assertEqual(run.result[0], 7, run.text)
                self.assertEqual(LAB.read_out(f"fresh-{connections}.bin"), self.data, "byte for byte, no trailer")
                requests = LAB.nginx.requests()
                self.assertEqual(requests[0]["range"], "", "the first request asks for the whole file")
                # Every connection beyond the first asks for a piece of its own.
                self.assertGreaterEqual(len(ranged(requests)), connections - 1)
                self.assertEqual(len({r["range"] for r in ranged(requests)}), len(ranged(requests)))
        self.assertEqual(run.codes[:5], [1, 2, 3, 4, 5])
        self.assertEqual(run.codes[-1], 7)

    def test_the_one_call_fetch_writes_a_temporary_file(self):
        run = LAB.run(["--fetch", LAB.nginx.url("files", "fresh.bin"), "--timeout", "10000"])
        ok, result, _, path = run.fetch
        self.assertTrue(ok, run.text)
        self.assertEqual(result, 7)
        name = path.split("\\")[-1]
        self.assertRegex(name, r"^tw[0-9A-Fa-f]{1,4}\.tmp$")
        with open(LAB.lab.prefix_path("drive_c", "users", "root", "Temp", name), "rb") as f:
            self.assertEqual(f.read(), self.data)
        requests = LAB.nginx.requests()
        self.assertEqual(requests[-1]["range"], "", "one connection: one request for the whole file")

    def test_the_user_agent_ends_in_the_product(self):
        LAB.nginx.forget_requests()
        LAB.download(LAB.nginx.url("files", "fresh.bin"), "agent.bin", "--connections", "1")
        agent = LAB.nginx.requests()[0]["agent"]
        self.assertTrue(agent.endswith("; MivoraBox)"), agent)
        self.assertEqual(LAB.run(["--user-agent"]).text.strip(), "agent " + agent)

    def test_a_redirect_to_another_host_is_followed(self):
        LAB.nginx.forget_requests()
        run = LAB.download(LAB.nginx.url("moved", "fresh.bin"), "moved.bin", "--connections", "3")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("moved.bin"), self.data)
        served = [r for r in LAB.nginx.requests() if r["status"] in (200, 206)]
        self.assertTrue(served)
        self.assertTrue(all(r["host"] == "127.0.0.2" for r in served), served)

    def test_a_callback_that_refuses_stops_the_download_as_failed(self):
        run = LAB.download(LAB.nginx.url("files", "fresh.bin"), "refused.bin", "--refuse", "4")
        self.assertEqual(run.codes, [1, 2, 3, 4, 8])
        self.assertEqual(run.result[0], 8)


class WithoutRanges(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = LAB.make_file("plain.bin", SIZE, seed=12)

    def check_one_sequential_transfer(self, url, out, requests):
        run = LAB.download(url, out, "--connections", "5")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out(out), self.data, "no trailer on a file fetched in one piece")
        asked = requests()
        self.assertEqual(len(asked), 1, asked)
        self.assertEqual(asked[0]["range"], "")
        self.assertEqual([code for code in run.codes if code != 6], [1, 2, 3, 4, 5, 7])

    def test_a_server_without_accept_ranges(self):
        LAB.nginx.forget_requests()
        self.check_one_sequential_transfer(LAB.nginx.url("noranges", "plain.bin"), "noranges.bin",
                                           LAB.nginx.requests)

    def test_an_http10_server(self):
        before = len(LAB.scripted_requests())
        self.check_one_sequential_transfer(f"{SCRIPTED}/http10/plain.bin", "http10.bin",
                                           lambda: LAB.scripted_requests()[before:])

    def test_an_encoded_answer_is_read_to_its_end_whatever_length_it_claims(self):
        # gzip on the way: the header's length is the compressed one, not the file's.
        LAB.nginx.forget_requests()
        run = LAB.download(LAB.nginx.url("gzip", "plain.bin"), "gzip.bin", "--connections", "5")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("gzip.bin"), self.data)
        self.assertEqual([r["range"] for r in LAB.nginx.requests()], [""])

    def test_a_server_that_ignores_range_never_has_its_answer_written_at_an_offset(self):
        before = len(LAB.scripted_requests())
        run = LAB.download(f"{SCRIPTED}/ignores-range/plain.bin", "ignores.bin", "--connections", "5")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("ignores.bin"), self.data)
        asked = LAB.scripted_requests()[before:]
        self.assertGreater(len(ranged(asked)), 0, "it said it took ranges, so they were asked for")
        self.assertTrue(all(r["status"] == 200 for r in asked))

    def test_a_short_answer_is_never_a_success(self):
        # Claims 5000 bytes more than it sends, every time: tried again until the time-out.
        run = LAB.download(f"{SCRIPTED}/lying/5000/100/plain.bin", "lying.bin", "--timeout", "13000")
        self.assertEqual(run.result[0], 9, run.text)
        self.assertNotIn(7, run.codes)
        # Once only: the second answer, with the true length, is the file.
        run = LAB.download(f"{SCRIPTED}/lying/5000/1/plain.bin", "lying-once.bin", "--timeout", "60000")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("lying-once.bin"), self.data)


class Resume(unittest.TestCase):
    SIZE = 24_000_000

    def kill_halfway(self, url, out, at_least):
        """Runs a download and ends its process once it reports at_least bytes."""
        program = LAB.start(["--url", url, "--out", "file:" + LAB.out(out), "--connections", "5"])
        for line in program.stdout:
            words = line.split()
            if words[:2] == ["notify", "6"] and int(words[2]) >= at_least:
                break
        program.kill()
        program.wait(timeout=30)

    def test_the_partial_file_has_its_full_length_and_an_up_to_date_trailer(self):
        data = LAB.make_file("watched.bin", 16_000_000, seed=21)
        program = LAB.start(["--url", LAB.nginx.url("slow", "watched.bin"), "--out", "file:" + LAB.out("watched.bin"),
                             "--connections", "5", "--timeout", "60000"])
        seen = []
        while program.poll() is None:
            try:
                size = os.path.getsize(LAB.out("watched.bin"))
                trailer = read_trailer(LAB.out("watched.bin"), len(data)) if size > len(data) else None
            except (FileNotFoundError, ValueError):
                size, trailer = -1, None
            if size >= 0:
                seen.append((size, trailer))
            time.sleep(0.05)
        program.stdout.read()
        self.assertEqual(LAB.read_out("watched.bin"), data)
        written = [s for s in seen if s[0] > 0]
        self.assertTrue(all(size >= len(data) for size, _ in written), "full length from the start")
        with_trailer = [trailer for _, trailer in written if trailer]
        self.assertGreater(len(with_trailer), 5)
        for trailer in with_trailer:
            self.assertTrue(all(start <= end < len(data) for _, _, start, end, _ in trailer))
        # What the trailer says is kept only grows.
        kept = [len(data) - missing_bytes(trailer) for trailer in with_trailer]
        self.assertEqual(kept, sorted(kept))
        self.assertGreater(kept[-1], kept[0])

    def test_a_killed_download_continues_from_its_trailer_and_fetches_no_block_twice(self):
        data = LAB.make_file("resumed.bin", self.SIZE, seed=22)
        url = LAB.nginx.url("slow", "resumed.bin")
        self.kill_halfway(url, "resumed.bin", self.SIZE * 2 // 5)
        trailer = read_trailer(LAB.out("resumed.bin"), self.SIZE)
        self.assertTrue(trailer, "a killed download leaves its trailer behind")
        kept = self.SIZE - missing_bytes(trailer)
        self.assertGreater(kept, 0)

        LAB.nginx.forget_requests()
        run = LAB.download(url, "resumed.bin", "--connections", "5", "--timeout", "120000")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("resumed.bin"), data)
        # It starts from what the trailer kept and writes only the rest.
        self.assertEqual(run.notifications[1][1], 0)
        self.assertEqual(next(n for n in run.notifications if n[0] == 4)[1], kept)
        missing = [(start + received, end) for _, _, start, end, received in trailer if start + received <= end]
        for request in ranged(LAB.nginx.requests()):
            start = range_start(request)
            self.assertTrue(any(first <= start <= last for first, last in missing),
                            f"{request['range']} asks again for bytes the file already holds")
        first_pieces = sorted(first for first, _ in missing)
        asked = sorted(range_start(r) for r in ranged(LAB.nginx.requests()))
        self.assertTrue(set(first_pieces) <= set(asked), (first_pieces, asked))

    def test_a_file_that_changed_on_the_server_is_fetched_again_from_the_start(self):
        LAB.make_file("changing.bin", self.SIZE, seed=23)
        url = LAB.nginx.url("slow", "changing.bin")
        self.kill_halfway(url, "changing.bin", self.SIZE // 5)
        self.assertTrue(read_trailer(LAB.out("changing.bin"), self.SIZE))
        changed = LAB.make_file("changing.bin", self.SIZE - 1_000_000, seed=24)
        LAB.nginx.forget_requests()
        run = LAB.download(LAB.nginx.url("files", "changing.bin"), "changing.bin", "--connections", "5")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("changing.bin"), changed)
        self.assertEqual(next(n for n in run.notifications if n[0] == 4)[1], 0, "nothing kept")

    def test_a_damaged_trailer_is_not_trusted(self):
        data = LAB.make_file("damaged.bin", SIZE, seed=25)
        # The right length and a matching marker, but a record far past the end of the file.
        with open(LAB.out("damaged.bin"), "wb") as f:
            f.write(b"\xee" * SIZE + trailer_bytes([(1, 1, 2 ** 40, 2 ** 40 + 10, 5), (0, 0, 0, 999, 1000)]))
        LAB.nginx.forget_requests()
        run = LAB.download(LAB.nginx.url("files", "damaged.bin"), "damaged.bin", "--connections", "3")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("damaged.bin"), data)
        self.assertTrue(all(range_start(r) < SIZE for r in ranged(LAB.nginx.requests())))

    def test_a_complete_file_with_a_stale_trailer_succeeds_without_reading(self):
        data = LAB.make_file("stale.bin", SIZE, seed=26)
        with open(LAB.out("stale.bin"), "wb") as f:
            f.write(data + trailer_bytes([(1, 1, 0, SIZE - 1, SIZE)]))
        run = LAB.download(LAB.nginx.url("files", "stale.bin"), "stale.bin", "--connections", "5")
        self.assertEqual(run.result[:3], (7, SIZE, SIZE), run.text)
        self.assertEqual(LAB.read_out("stale.bin"), data)
        self.assertNotIn(6, run.codes)


class Failures(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = LAB.make_file("failing.bin", SIZE, seed=31)

    def test_a_404_on_the_only_address_fails_at_once(self):
        started = time.monotonic()
        run = LAB.download(LAB.nginx.url("files", "absent.bin"), "absent.bin", "--timeout", "60000")
        self.assertEqual(run.result[0], 8, run.text)
        self.assertEqual(run.codes, [1, 8])
        self.assertLess(time.monotonic() - started, RETRY_S)

    def test_a_broken_connection_and_a_500_are_tried_again_ten_seconds_later(self):
        for path in ("cut/1000000/1", "status/500/1"):
            with self.subTest(path=path):
                before = len(LAB.scripted_requests())
                out = path.replace("/", "-") + ".bin"
                run = LAB.download(f"{SCRIPTED}/{path}/failing.bin", out, "--connections", "1", "--timeout", "60000")
                self.assertEqual(run.result[0], 7, run.text)
                self.assertEqual(LAB.read_out(out), self.data)
                asked = LAB.scripted_requests()[before:]
                self.assertEqual(len(asked), 2, asked)
                self.assertGreater(asked[1]["time"] - asked[0]["time"], RETRY_S - 0.5)
                if path.startswith("cut"):
                    # What arrived before the cut stays: the next request goes on after it.
                    self.assertTrue(0 < range_start(asked[1]) <= 1_000_000, asked[1])
                else:
                    self.assertEqual(asked[1]["range"], "", "a failed first answer is asked for again whole")

    def test_a_stalled_server_is_tried_again_until_the_overall_time_out(self):
        before = len(LAB.scripted_requests())
        started = time.monotonic()
        run = LAB.download(f"{SCRIPTED}/stall/failing.bin", "stalled.bin", "--timeout", "33000")
        elapsed = time.monotonic() - started
        self.assertEqual(run.result[0], 9, run.text)
        self.assertGreater(elapsed, 32)
        asked = LAB.scripted_requests()[before:]
        # 20 s without an answer, then 10 s before the next attempt.
        self.assertEqual(len(asked), 2, asked)
        self.assertGreater(asked[1]["time"] - asked[0]["time"], 29)

    def test_the_one_call_fetch_gives_up_after_its_ten_seconds(self):
        started = time.monotonic()
        run = LAB.run(["--fetch", f"{SCRIPTED}/stall/failing.bin", "--timeout", "10000"])
        ok, result, ms, _ = run.fetch
        self.assertFalse(ok)
        self.assertEqual(result, 9)
        self.assertGreaterEqual(ms, 10000)
        self.assertLess(ms, 11500)
        self.assertLess(time.monotonic() - started, 30)

    def test_a_stop_ends_the_download_at_once(self):
        run = LAB.download(f"{SCRIPTED}/stall/failing.bin", "stopped.bin", "--stop-after-ms", "1500",
                           "--timeout", "60000")
        self.assertEqual(run.result[0], 9, run.text)
        self.assertLess(run.result[3], 1500 + 1000)

    def test_a_full_disk_fails_and_leaves_nothing_claimed(self):
        # Too small for a file of known size: nothing is even created.
        run = LAB.run(["--url", LAB.nginx.url("files", "failing.bin"), "--out",
                       "file:" + os.path.join(SMALL_DISK, "known.bin")])
        self.assertEqual(run.result[0], 8, run.text)
        self.assertEqual(os.listdir(SMALL_DISK), [])
        # A size nobody knows beforehand fills the disk; what was written is given back.
        run = LAB.run(["--url", LAB.nginx.url("gzip", "failing.bin"), "--out",
                       "file:" + os.path.join(SMALL_DISK, "unknown.bin")])
        self.assertEqual(run.result[0], 8, run.text)
        self.assertEqual(os.path.getsize(os.path.join(SMALL_DISK, "unknown.bin")), 0)
        self.assertEqual(shutil.disk_usage(SMALL_DISK).used, 0)


class Mirrors(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = LAB.make_file("mirrored.bin", SIZE, seed=41)

    def test_connections_go_to_the_mirror_that_answered_first_fastest(self):
        LAB.make_file("mirrored-large.bin", 48_000_000, seed=42)
        # A answers after two seconds and then stalls, B is nginx at a crawl (so that no connection
        # of it runs out of work while this test looks), C answers 404 after two seconds.
        slow = f"{SCRIPTED}/slow-first/2000/stall-after/200000/mirrored-large.bin"
        crawling = LAB.nginx.url("crawl", "mirrored-large.bin")
        gone = f"{SCRIPTED}/slow-first/2000/status/404/100/mirrored-large.bin"
        before = len(LAB.scripted_requests())
        LAB.nginx.forget_requests()
        run = LAB.download(LAB.nginx.url("files", "nowhere.bin"), "mirrored-large.bin", "--mirror", slow,
                           "--mirror", crawling, "--mirror", gone, "--connections", "5", "--timeout", "8000")
        self.assertEqual(run.result[0], 9, run.text)
        scripted = LAB.scripted_requests()[before:]
        # The first connection tries A. Of the four opened on its answer, B and C are tried once
        # each and the other two go to A, the only one measured then. When C has answered 404 (it
        # is never asked again), B has answered too, faster than A: the connection that replaces
        # C goes to B.
        self.assertEqual(len([r for r in scripted if "404" in r["path"]]), 1, scripted)
        self.assertEqual(len([r for r in scripted if "stall-after" in r["path"]]), 3, scripted)
        # nginx logs a request once it notices that the client has gone.
        wait_until(lambda: len(LAB.nginx.requests()) >= 2, 15)
        time.sleep(1)
        self.assertEqual([r["uri"] for r in LAB.nginx.requests()], ["/crawl/mirrored-large.bin"] * 2)

    def test_a_metalink_descriptor_names_the_mirrors_of_the_file(self):
        xml = ('<?xml version="1.0"?><metalink version="3.0" xmlns="http://www.metalinker.org/"><files>'
               f'<file name="other"><resources><url type="http">{LAB.nginx.url("files", "absent")}</url>'
               '</resources></file>'
               f'<file name="mirrored.bin"><resources><url type="http">{LAB.nginx.url("files", "mirrored.bin")}'
               f'</url><url type="http">{LAB.nginx.url("files", "mirrored.bin", host=1)}</url></resources></file>'
               '</files></metalink>')
        with open(os.path.join(LAB.www, "file.metalink"), "w") as f:
            f.write(xml)
        temp = LAB.lab.prefix_path("drive_c", "users", "root", "Temp")
        before = set(os.listdir(temp))
        run = LAB.download(f"{SCRIPTED}/metalink/file.metalink#MetalinkFile1", "from-metalink.bin", "--metalink",
                           "--connections", "5", "--timeout", "60000")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(run.metalink, (1, 2))
        self.assertEqual(LAB.read_out("from-metalink.bin"), self.data)
        # Nothing is told about the descriptor itself: after "started" the mirrors' answer comes.
        lines = [line.split()[0] for line in run.text.splitlines()]
        self.assertEqual(lines[:3], ["notify", "metalink", "notify"])
        self.assertEqual(run.codes[:2], [1, 2])
        self.assertEqual(run.notifications[1][2], SIZE)
        self.assertEqual(set(os.listdir(temp)), before, "the reader deletes the descriptor")


class Ftp(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = LAB.make_file("ftp.bin", SIZE, seed=51)

    def commands(self, passive_only=False, since=0):
        return [e for e in LAB.ftp_entries(passive_only)[since:] if "command" in e]

    def test_each_segment_is_restarted_at_its_offset(self):
        before = len(LAB.ftp_entries())
        run = LAB.download(f"{FTP}/ftp.bin", "ftp.bin", "--connections", "5", "--timeout", "60000")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("ftp.bin"), self.data)
        restarts = [int(e["arg"]) for e in self.commands(since=before) if e["command"] == "REST"]
        self.assertEqual(restarts[0], 0, "the first connection asks to restart at 0 to learn that it can")
        self.assertGreaterEqual(len([r for r in restarts if r > 0]), 4)
        self.assertTrue(all(0 < r < SIZE for r in restarts[1:]))

    def test_a_partial_file_is_continued_with_restarts(self):
        half = SIZE // 2
        with open(LAB.out("ftp-partial.bin"), "wb") as f:
            f.write(self.data[:1_000_000] + bytes(SIZE - 1_000_000)
                    + trailer_bytes([(1, 1, 0, half - 1, 1_000_000), (1, 1, half, SIZE - 1, 0)]))
        before = len(LAB.ftp_entries())
        run = LAB.download(f"{FTP}/ftp.bin", "ftp-partial.bin", "--connections", "2", "--timeout", "60000")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("ftp-partial.bin"), self.data)
        restarts = [int(e["arg"]) for e in self.commands(since=before) if e["command"] == "REST"]
        self.assertIn(1_000_000, restarts)
        self.assertIn(half, restarts, (run.text, LAB.ftp_entries()[before:]))

    def test_a_425_switches_to_passive_mode_without_restarts(self):
        before = len(LAB.ftp_entries(True))
        run = LAB.download(f"{FTP_PASSIVE_ONLY}/ftp.bin", "ftp-passive.bin", "--connections", "5",
                           "--timeout", "60000")
        self.assertEqual(run.result[0], 7, run.text)
        self.assertEqual(LAB.read_out("ftp-passive.bin"), self.data)
        names = [e["command"] for e in self.commands(True, before)]
        self.assertIn("PASV", names)
        self.assertEqual(names.count("RETR"), 1, names)
        self.assertNotIn("REST", names[names.index("PASV"):])


if __name__ == "__main__":
    unittest.main()
