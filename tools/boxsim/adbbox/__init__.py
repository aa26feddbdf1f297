"""A simulated Android TV box: the debug daemon a box runs on TCP port 5555, with its package manager."""

from .box import Box
from .connection import AUTH_MODES
from .faults import FAULT_HELP, Faults, parse_faults
from .profiles import PROFILES

__all__ = ["AUTH_MODES", "Box", "FAULT_HELP", "Faults", "PROFILES", "parse_faults"]
