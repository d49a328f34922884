#!/usr/bin/env python3
"""Parses packaging/60-zypanel.rules the way udev reads a rule line and checks
which USB devices it gives to the user at the seat and to plugdev."""

import fnmatch
import pathlib
import re
import sys
import unittest

RULES = pathlib.Path(__file__).resolve().parents[2] / "packaging" / "60-zypanel.rules"
# KEY or KEY{attr}, an operator, a quoted value; pairs separated by commas.
PAIR = re.compile(r'\s*([A-Z_]+)(?:\{([\w.-]+)\})?\s*(==|!=|\+=|-=|:=|=)\s*"([^"]*)"\s*(?:,|$)')
MATCH_KEYS = {"SUBSYSTEM", "ENV", "ATTR", "ATTRS", "ACTION", "KERNEL", "DRIVER"}
ASSIGN_KEYS = {"TAG", "MODE", "GROUP", "OWNER", "ENV"}


def parse_rules(text):
    """Returns the rules as lists of (key, attr, op, value); raises on a bad line."""
    rules = []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        pairs, pos = [], 0
        while pos < len(line):
            m = PAIR.match(line, pos)
            if not m:
                raise ValueError(f"line {number}: cannot parse from column {pos + 1}")
            key, attr, op, value = m.groups()
            allowed = MATCH_KEYS if op in ("==", "!=") else ASSIGN_KEYS
            if key not in allowed:
                raise ValueError(f"line {number}: {key} cannot be used with {op}")
            pairs.append((key, attr, op, value))
            pos = m.end()
        rules.append(pairs)
    return rules


def udev_glob(pattern, value):
    """udev's value match: shell glob alternatives separated by '|'."""
    return any(fnmatch.fnmatchcase(value, alt) for alt in pattern.split("|"))


def applied(rules, device):
    """The assignments of every rule whose matches all hold for the device."""
    result = {}
    for pairs in rules:
        matches = [p for p in pairs if p[2] in ("==", "!=")]
        if all(udev_glob(v, device.get((k, a), "")) == (op == "==") for k, a, op, v in matches):
            for key, _, op, value in pairs:
                if op not in ("==", "!="):
                    result.setdefault(key, []).append(value)
    return result


def usb_device(vendor, product, devtype="usb_device"):
    return {("SUBSYSTEM", None): "usb", ("ENV", "DEVTYPE"): devtype,
            ("ATTR", "idVendor"): vendor, ("ATTR", "idProduct"): product}


class UdevRuleTest(unittest.TestCase):
    def setUp(self):
        self.rules = parse_rules(RULES.read_text(encoding="utf-8"))

    def test_bridges_are_opened_by_seat_user_and_plugdev(self):
        for product in ("6001", "6010", "6014", "6015"):
            with self.subTest(product=product):
                got = applied(self.rules, usb_device("0403", product))
                self.assertEqual(got.get("TAG"), ["uaccess"])
                self.assertEqual(got.get("MODE"), ["0660"])
                self.assertEqual(got.get("GROUP"), ["plugdev"])

    def test_other_devices_are_left_alone(self):
        for device in (usb_device("0403", "6011"), usb_device("067b", "2303"),
                       usb_device("0403", "6001", devtype="usb_interface")):
            with self.subTest(device=device):
                self.assertEqual(applied(self.rules, device), {})

    def test_parser_refuses_broken_lines(self):
        for line in ('ATTR{idVendor}=="0403" TAG+="uaccess"', 'MODE=="0660"',
                     'ATTR{idVendor}=="0403", TAG+=uaccess'):
            with self.subTest(line=line):
                with self.assertRaises(ValueError):
                    parse_rules(line)


if __name__ == "__main__":
    # A rules file from elsewhere (an unpacked package) may come first.
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        RULES = pathlib.Path(sys.argv.pop(1))
    unittest.main()
