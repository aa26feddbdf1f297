#!/usr/bin/python3
"""Every connection of our client ends with our side shut down and a short wait for the box to
close as well. A box closes at once, so its close often lands in the middle of that wait. Under
Wine the wait must come through that every time, and so must Wine's server, whose failure would
leave every program of the session (the program, the client, its console) waiting for ever."""
import os
import subprocess
import unittest

from client_lab import BUILD, ClientLab
from lab import wait_until

# Enough for the close to fall in the middle of the wait many times over (thousands of rounds
# were enough for it to end Wine's server when the wait asked for the wrong things).
ROUNDS = 20000


class ClosingTest(unittest.TestCase):
    def test_connections_end_in_order_while_the_host_closes(self):
        with ClientLab() as lab:
            address = lab.odd_host("closing")
            command = lab.lab.wine_command([os.path.join(BUILD, "bin", "closing_rounds.exe"), f"{address}:5555", str(ROUNDS)])
            rounds = lab.lab.spawn(command, env=lab.lab.wine_env(), stdout=subprocess.PIPE, text=True)
            wait_until(lambda: rounds.poll() is not None or lab.lab.server_log(), 400, interval=0.5)
            self.assertEqual(lab.lab.server_log(), "", "Wine's server gave up")
            self.assertIsNotNone(rounds.poll(), "the rounds never ended")
            self.assertEqual((rounds.stdout.read().strip(), rounds.returncode), (f"{ROUNDS} connections ended", 0))


if __name__ == "__main__":
    unittest.main()
