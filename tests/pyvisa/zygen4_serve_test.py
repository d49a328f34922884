#!/usr/bin/env python3
"""zygen4 --serve driven by a real VISA client: PyVISA with the pyvisa-py backend.

Each mode family gets its own server on the virtual instrument. The client
sets the family's set-up, reads every value back and finds the error queue
empty; the server, stopped with SIGTERM, prints the instrument's state, which
must equal the state zygen4 reaches with the same set-up given as steps.
ZYGEN4 names the executable.
"""

import os
import signal
import socket
import subprocess
import unittest

import pyvisa

ZYGEN4 = os.environ["ZYGEN4"]
SIM = ["--device", "sim", "--fast"]


def db_to_percent(db):
    """The generator's own conversion of a level in dB to its amplitude in %."""
    return 100.0 * 1.12201845430196 ** db


# family: (SCPI lines, queries with the answers expected, the same set-up as zygen4 steps)
FAMILIES = {
    "generation": (
        ["OUTP1 ON;OUTP2 ON;:SOUR1:FREQ 10 MHZ;POW -3 DB;PHAS 45 DEG",
         "SOUR2:FREQ 12.5 MHZ;POW -6;PHAS 90"],
        {"OUTP1?": "1", "OUTP2?": "1", "SOUR1:FREQ?": 10e6, "SOUR1:POW?": -3.0,
         "SOUR1:PHAS?": 45.0, "SOUR2:FREQ?": 12.5e6, "SOUR2:POW?": -6.0, "SOUR2:PHAS?": 90.0},
        ["ChA.Mode=ZGMdC_gen", "ChB.Mode=ZGMdC_gen", "ChA.Frequency=10000",
         f"ChA.Amplitude={db_to_percent(-3)!r}", "ChA.Phase=45", "ChB.Frequency=12500",
         f"ChB.Amplitude={db_to_percent(-6)!r}", "ChB.Phase=90"],
    ),
    "tuning": (
        ["OUTP ON;TUN ON;TUN:TYPE PHAS;SCAL 3;:FREQ 5 MHZ"],
        {"TUN?": "1", "TUN:TYPE?": "PHAS", "TUN:SCAL?": 3.0, "FREQ?": 5e6},
        ["ChA.Mode=ZGMdC_tuning", "ChA.Tuner.Type=ZGAFPms_phase", "ChA.Tuner.Scale=3",
         "ChA.Frequency=5000"],
    ),
    "internal modulation": (
        ["OUTP1 ON;OUTP2 ON;:SOUR1:POW -6;AM:DEPT 40;INT:FREQ 1 KHZ;FUNC SIN;:SOUR1:AM ON",
         "SOUR2:FM:DEV 5 KHZ;INT:FREQ 500;FUNC TRI;:SOUR2:FM ON"],
        {"SOUR1:AM?": "1", "SOUR1:AM:SOUR?": "INT", "SOUR1:AM:DEPT?": 40.0,
         "SOUR1:AM:INT:FREQ?": 1000.0, "SOUR1:AM:INT:FUNC?": "SIN", "SOUR2:FM?": "1",
         "SOUR2:FM:DEV?": 5000.0, "SOUR2:FM:INT:FREQ?": 500.0, "SOUR2:FM:INT:FUNC?": "TRI"},
        ["ChA.Amplitude=" + repr(db_to_percent(-6)), "ChA.IntModulation.dA=40",
         "ChA.IntModulation.Fm=1000", "ChA.IntModulation.MathFuncType=ZMFT_sin",
         "ChA.IntModulation.Type=ZGAFPms_ampl", "ChA.Mode=ZGMdC_IntModulation",
         "ChB.IntModulation.dF=5000", "ChB.IntModulation.Fm=500",
         "ChB.IntModulation.MathFuncType=ZMFT_triangle", "ChB.IntModulation.Type=ZGAFPms_freq",
         "ChB.Mode=ZGMdC_IntModulation"],
    ),
    "external modulation": (
        ["OUTP1 ON;OUTP2 ON;:SOUR1:PM:SOUR EXT;:SOUR1:PM ON;:SOUR2:POW -6;AM:SOUR EXT;:SOUR2:AM ON"],
        {"SOUR1:PM?": "1", "SOUR1:PM:SOUR?": "EXT", "SOUR2:AM?": "1", "SOUR2:AM:SOUR?": "EXT",
         "SOUR2:POW?": -6.0},
        ["ChA.ExtModulation.Type=ZGAFPms_phase", "ChA.Mode=ZGMdC_ExtModulation",
         "ChB.Amplitude=" + repr(db_to_percent(-6)), "ChB.ExtModulation.Type=ZGAFPms_ampl",
         "ChB.Mode=ZGMdC_ExtModulation"],
    ),
    "sweep": (
        ["OUTP ON;FREQ:STAR 1 MHZ;STOP 2 MHZ;:SWE:TIME:RISE 1 MS;HIGH 2 MS;FALL 3 MS;LOW 4 MS",
         "SWE ON"],
        {"SWE?": "1", "FREQ:STAR?": 1e6, "FREQ:STOP?": 2e6, "SWE:TIME:RISE?": 0.001,
         "SWE:TIME:HIGH?": 0.002, "SWE:TIME:FALL?": 0.003, "SWE:TIME:LOW?": 0.004},
        ["ChA.Frequency=1000", "ChA.LFM.FreqTop=2000", "ChA.LFM.Tinc0=1000",
         "ChA.LFM.Tinc1=2000", "ChA.LFM.Tdec0=3000", "ChA.LFM.Tdec1=4000", "ChA.Mode=ZGMdC_LFM"],
    ),
    "keying": (
        ["OUTP ON;FSK:MODE QUAT;FREQ1 1 MHZ;FREQ2 2 MHZ;FREQ3 3 MHZ;FREQ4 4 MHZ",
         "FSK:TIME1 1 US;TIME2 2 US;TIME3 3 US;TIME4 4 US;:FSK ON"],
        {"FSK?": "1", "PSK?": "0", "FSK:MODE?": "QUAT", "FSK:FREQ1?": 1e6, "FSK:FREQ4?": 4e6,
         "FSK:TIME1?": 1e-6, "FSK:TIME4?": 4e-6},
        ["ChA.DDSMod.Mode=ZGTMs_QxSK", "ChA.DDSMod.F1=1000", "ChA.DDSMod.F2=2000",
         "ChA.DDSMod.F3=3000", "ChA.DDSMod.F4=4000", "ChA.DDSMod.T1=1000",
         "ChA.DDSMod.T2=2000", "ChA.DDSMod.T3=3000", "ChA.DDSMod.T4=4000",
         "ChA.DDSMod.Type=ZGAFPms_freq", "ChA.Mode=ZGMdC_DDSMod"],
    ),
}


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Server:
    """zygen4 --serve on the virtual instrument, printing its state when stopped."""

    def __init__(self):
        self.port = free_port()
        self.process = subprocess.Popen(
            [ZYGEN4, *SIM, "--serve", f"127.0.0.1:{self.port}", "state"],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        # Connect only once it listens.
        line = self.process.stdout.readline()
        if not line.startswith("Serving SCPI on"):
            self.process.kill()
            raise RuntimeError("zygen4 did not serve: " + line + self.process.stderr.read())

    def stop(self):
        """SIGTERM; the state lines zygen4 prints after serving."""
        self.process.send_signal(signal.SIGTERM)
        out, err = self.process.communicate(timeout=30)
        if self.process.returncode != 0:
            raise RuntimeError(f"zygen4 ended with {self.process.returncode}: {err}")
        return out.splitlines()


class Zygen4ServeTest(unittest.TestCase):
    def setUp(self):
        self.rm = pyvisa.ResourceManager("@py")
        self.servers = []

    def tearDown(self):
        for server in self.servers:
            if server.process.poll() is None:
                server.process.kill()
                server.process.communicate()
        self.rm.close()

    def serve(self):
        """A new server on the constructor's values, and a client connected to it."""
        server = Server()
        self.servers.append(server)
        inst = self.rm.open_resource(f"TCPIP0::127.0.0.1::{server.port}::SOCKET",
                                     read_termination="\n", write_termination="\n",
                                     timeout=20000)
        return server, inst

    def test_identifies_itself(self):
        server, inst = self.serve()
        fields = inst.query("*IDN?").split(",")
        self.assertEqual(len(fields), 4)
        self.assertEqual(fields[:3], ["ZyPanel", "TAYRA-9", "0"])
        self.assertEqual(inst.query("SYST:ERR?"), '0,"No error"')
        inst.close()
        server.stop()

    def test_every_mode_family_matches_the_same_set_up_as_steps(self):
        for family, (lines, checks, steps) in FAMILIES.items():
            with self.subTest(family=family):
                server, inst = self.serve()
                inst.write("SYST:CONN ON")
                for line in lines:
                    inst.write(line)
                self.assertEqual(inst.query("*OPC?"), "1")
                for query, expected in checks.items():
                    answer = inst.query(query)
                    if isinstance(expected, float):
                        self.assertAlmostEqual(float(answer), expected, places=9, msg=query)
                    else:
                        self.assertEqual(answer, expected, query)
                self.assertEqual(inst.query("SYST:ERR?"), '0,"No error"')
                inst.close()
                served = server.stop()
                stepped = subprocess.run(
                    [ZYGEN4, *SIM, "Active=1", "AutoUpdate=0", *steps, "AutoUpdate=1", "state"],
                    capture_output=True, text=True, timeout=60)
                self.assertEqual(stepped.returncode, 0, stepped.stderr)
                self.assertEqual(served, stepped.stdout.splitlines())


if __name__ == "__main__":
    unittest.main()
