"""The few commands of a box's shell that an installer uses, answered the way the box would."""

import re
import shlex
import shutil
from typing import NamedTuple

from . import package_dump
from .storage import DeviceFileError

PM_USAGE = ("usage: pm list packages [-f] [-3] [-s] [-U] [--show-versioncode] [FILTER]\n"
            "       pm path PACKAGE\n"
            "       pm install [-r] [-d] PATH\n"
            "       pm uninstall [-k] PACKAGE\n")
# pm install options that take a value; the others are switches.
_INSTALL_OPTIONS_WITH_VALUE = {"-i", "--user", "--install-location", "--originating-uri", "--referrer", "-S"}
_REDIRECTION = re.compile(r"^(\d*)(>>|>&|<&|>|<)(.*)$")


class Shell:
    def __init__(self, profile, storage, package_manager):
        self._profile = profile
        self._storage = storage
        self._packages = package_manager

    def run(self, command_line):
        """Runs a command line as sh -c would; returns (output with "\\n" line ends, exit status)."""
        output, status = [], 0
        for command in split_commands(command_line):
            try:
                words = shlex.split(command)
            except ValueError:
                output.append("/system/bin/sh: syntax error: unterminated quoted string\n")
                return "".join(output), 2
            words, output_discarded = strip_redirections(words)
            if words:
                text, status = self.run_words(words)
                output.append("" if output_discarded else text)
        return "".join(output), status

    def run_words(self, words):
        try:
            return self._run_words(words[0], words[1:])
        except DeviceFileError as error:
            return f"{words[0]}: {error}\n", 1

    def _run_words(self, name, arguments):
        if name == "getprop":
            return self._getprop(arguments)
        if name == "pm":
            return self._package_command(arguments)
        if name == "cmd" and self._profile.has_cmd:
            if arguments[:1] == ["package"]:
                return self._package_command(arguments[1:])
            return f"cmd: Can't find service: {' '.join(arguments[:1])}\n", 20
        if name == "dumpsys":
            return self._dumpsys(arguments)
        if name == "ls":
            return package_dump.list_files(self._profile, self._storage,
                                           [argument for argument in arguments if not argument.startswith("-")])
        if name == "monkey":
            return package_dump.monkey(self._packages, arguments)
        if name == "rm":
            return _remove(self._storage, arguments)
        if name == "echo":
            return " ".join(arguments) + "\n", 0
        return f"/system/bin/sh: {name}: not found\n", 127

    def _getprop(self, arguments):
        properties = self._profile.properties()
        if not arguments:
            return "".join(f"[{key}]: [{value}]\n" for key, value in sorted(properties.items())), 0
        return properties.get(arguments[0], arguments[1] if len(arguments) > 1 else "") + "\n", 0

    def _package_command(self, arguments):
        if not arguments:
            return PM_USAGE, 1
        verb, rest = arguments[0], arguments[1:]
        if verb == "list" and rest[:1] == ["packages"]:
            return self._list_packages(rest[1:])
        if verb == "path" and rest:
            paths = self._packages.apk_paths(rest[0])
            return ("".join(f"package:{path}\n" for path in paths), 0) if paths else ("", 1)
        if verb == "query-activities" and self._profile.has_cmd:
            return package_dump.query_activities(self._packages.records(), *_intent(rest)), 0
        if verb == "install":
            return self._install(rest)
        if verb == "uninstall" and rest:
            verdict = self._packages.uninstall(rest[-1])
            return verdict + "\n", 0 if verdict == "Success" else 1
        return f"Error: unknown command '{verb}'\n" + PM_USAGE, 1

    def _list_packages(self, options):
        switches = {option for option in options if option.startswith("-")}
        filters = [option for option in options if not option.startswith("-")]
        if "--show-versioncode" in switches and self._profile.sdk < 28:
            return "Error: Unknown option: --show-versioncode\n", 1
        lines = self._packages.listing(with_paths="-f" in switches, third_party_only="-3" in switches,
                                       system_only="-s" in switches, with_uid="-U" in switches,
                                       with_version_code="--show-versioncode" in switches)
        if filters:
            lines = [line for line in lines if filters[0] in line.split(" ")[0].rpartition("=")[2].rpartition(":")[2]]
        return "".join(line + "\n" for line in lines), 0

    def _dumpsys(self, arguments):
        if arguments[:1] != ["package"]:
            return f"Can't find service: {' '.join(arguments[:1])}\n", 0
        names = [argument for argument in arguments[1:] if not argument.startswith("-") and argument != "packages"]
        records = self._packages.records()
        if names:
            records = [(name, record) for name, record in records if name == names[0]]
        return package_dump.dump_packages(self._profile, records), 0

    def _install(self, arguments):
        options = parse_install_options(arguments)
        path = options.path
        if path is None:
            return "Error: APK content must be streamed\n", 1
        echo = "" if self._profile.modern_package_manager else f"\tpkg: {path}\n"
        host_file = self._storage.host_path(path)
        if not host_file.is_file():
            return echo + "Failure [INSTALL_FAILED_INVALID_URI]\n", 1
        verdict = self._packages.install(host_file, replace=options.replace, downgrade=options.downgrade)
        return echo + verdict + "\n", 0 if verdict == "Success" else 1


def _intent(arguments):
    """(action, categories) of an intent given as -a ACTION -c CATEGORY..."""
    action, categories = None, []
    for option, value in zip(arguments, arguments[1:]):
        if option == "-a":
            action = value
        elif option == "-c":
            categories.append(value)
    return action, categories


class InstallOptions(NamedTuple):
    replace: bool    # -r
    downgrade: bool  # -d
    path: str        # the APK's device path; None for a streamed install


def parse_install_options(arguments):
    """The InstallOptions of pm install's arguments."""
    replace, downgrade, path, index = False, False, None, 0
    while index < len(arguments):
        argument = arguments[index]
        if argument == "-r":
            replace = True
        elif argument == "-d":
            downgrade = True
        elif argument in _INSTALL_OPTIONS_WITH_VALUE:
            index += 1
        elif not argument.startswith("-"):
            path = argument
        index += 1
    return InstallOptions(replace, downgrade, path)


def install_size(arguments):
    """The byte count of 'install ... -S N' (a streamed install), or None when there is none."""
    for option, value in zip(arguments, arguments[1:]):
        if option == "-S" and value.isdigit():
            return int(value)
    return None


def strip_redirections(words):
    """(the words without redirections such as "</dev/null" or "2>&1", whether stdout went elsewhere)."""
    kept, output_discarded, target_follows = [], False, False
    for word in words:
        if target_follows:
            target_follows = False
            continue
        match = _REDIRECTION.match(word)
        if not match:
            kept.append(word)
            continue
        descriptor, operator, target = match.groups()
        target_follows = not target
        if operator in (">", ">>") and descriptor in ("", "1"):
            output_discarded = True
    return kept, output_discarded


def split_commands(line):
    """Cuts a command line at ';' and line ends that are not quoted, like sh does."""
    commands, current, quote, escaped = [], [], None, False
    for character in line:
        if escaped:
            escaped = False
        elif character == "\\" and quote != "'":
            escaped = True
        elif quote:
            quote = None if character == quote else quote
        elif character in "'\"":
            quote = character
        elif character in ";\n":
            commands.append("".join(current))
            current = []
            continue
        current.append(character)
    commands.append("".join(current))
    return commands


def _remove(storage, arguments):
    switches = "".join(argument[1:] for argument in arguments if argument.startswith("-"))
    paths = [argument for argument in arguments if not argument.startswith("-")]
    output, status = [], 0
    for path in paths:
        try:
            target = storage.writable_path(path)
        except DeviceFileError as error:
            if "f" not in switches or "Permission" in str(error):
                output.append(f"rm: {error}\n")
                status = 1
            continue
        if target.is_dir() and "r" in switches.lower():
            shutil.rmtree(target)
        elif target.is_dir():
            output.append(f"rm: {path}: is a directory\n")
            status = 1
        elif target.exists():
            target.unlink()
        elif "f" not in switches:
            output.append(f"rm: {path}: No such file or directory\n")
            status = 1
    return "".join(output), status
