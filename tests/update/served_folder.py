"""The command line every test server of the download tests takes: where to listen, which folder to
serve, where to log what happened."""
import argparse


def options(describe=None):
    """Parses --address, --port, --root, --log and whatever describe(parser) adds."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--log", required=True)
    if describe:
        describe(parser)
    return parser.parse_args()
