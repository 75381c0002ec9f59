#!/usr/bin/python3
"""vellumsheet.dask on a local cluster of two worker processes: the shared
corpora converted as the command line converts them, every file accounted
for, a worker killed while it converts, files sent as bytes, tables read,
and the module's command.

usage: dask_test.py VELLUMSHEET SHARED_DIR (with the package on PYTHONPATH)"""
import glob
import os
import signal
import subprocess
import sys
import tempfile
import unittest

import distributed
from distributed.diagnostics.plugin import WorkerPlugin

import vellumsheet
import vellumsheet.dask

PROGRAM, SHARED = sys.argv[1], sys.argv[2]
CORPORA = sorted(glob.glob(os.path.join(SHARED, "corpus", "*.pdf")) +
                 glob.glob(os.path.join(SHARED, "corpus-diverse", "*.pdf")))
DAMAGED = os.path.join(SHARED, "corpus", "21_report_sales_truncated.pdf")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class KillOnFirstTask(WorkerPlugin):
    """Kills its worker's process as the first task of the run starts (the
    marker file says it has been done: once among all workers)."""

    def __init__(self, marker):
        self.marker = marker

    def transition(self, key, start, finish, **kwargs):
        if finish == "executing" and key.startswith("convert_file"):
            try:
                os.close(os.open(self.marker, os.O_CREAT | os.O_EXCL | os.O_WRONLY))
            except FileExistsError:
                return
            os.kill(os.getpid(), signal.SIGKILL)


class DaskCollections(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                               dashboard_address=None)
        cls.client = distributed.Client(cls.cluster)
        cls.work = tempfile.TemporaryDirectory()
        # The command line's workbooks, to compare with.
        cls.expected = os.path.join(cls.work.name, "cli")
        subprocess.run([PROGRAM, "convert", *CORPORA, "--output-dir", cls.expected, "-j", "2", "-q"],
                       capture_output=True)

    @classmethod
    def tearDownClass(cls):
        cls.client.close()
        cls.cluster.close()
        cls.work.cleanup()

    def assert_as_command_line(self, results, out_dir):
        self.assertEqual([r.input for r in results], CORPORA)
        for result in results:
            name = os.path.basename(result.input)[:-4] + ".xls"
            theirs = os.path.join(self.expected, name)
            with self.subTest(file=name):
                self.assertEqual(result.ok, os.path.exists(theirs), result)
                if result.ok:
                    self.assertEqual(read(os.path.join(out_dir, name)), read(theirs))
                else:
                    self.assertFalse(os.path.exists(os.path.join(out_dir, name)))
                    self.assertTrue(result.message.startswith(result.input + ": "), result.message)

    def test_corpora_converted_as_the_command_line_converts_them(self):
        out = os.path.join(self.work.name, "paths")
        results = vellumsheet.dask.convert_many(CORPORA, out, client=self.client)
        self.assert_as_command_line(results, out)
        failed = {os.path.basename(r.input): r.error for r in results if not r.ok}
        self.assertEqual(failed.get(os.path.basename(DAMAGED)), "DamagedFileError")
        self.assertIn("PasswordError", failed.values())
        self.assertGreater(sum(r.ok for r in results), 20)

    def test_files_sent_as_bytes(self):
        out = os.path.join(self.work.name, "bytes")
        results = vellumsheet.dask.convert_many(CORPORA, out, client=self.client, send_bytes=True)
        self.assert_as_command_line(results, out)

    def test_a_worker_killed_mid_run_is_retried(self):
        marker = os.path.join(self.work.name, "killed")
        self.client.register_worker_plugin(KillOnFirstTask(marker), name="kill-on-first-task")
        try:
            out = os.path.join(self.work.name, "killed-run")
            results = vellumsheet.dask.convert_many(CORPORA, out, client=self.client)
        finally:
            self.client.unregister_worker_plugin("kill-on-first-task")
        self.assertTrue(os.path.exists(marker), "a worker was killed")
        self.assert_as_command_line(results, out)

    def test_tables_of_many_files(self):
        files = [os.path.join(SHARED, "corpus", "01_numeric_rainfall.pdf"), DAMAGED]
        records = vellumsheet.dask.read_many(files).compute()
        self.assertEqual([r["file"] for r in records], files)
        self.assertTrue(records[0]["tables"] and records[0]["error"] is None)
        self.assertEqual(records[0]["tables"][0].attrs["pages"], [1])
        self.assertEqual((records[1]["tables"], records[1]["error"]), ([], "DamagedFileError"))

    def test_module_command(self):
        with tempfile.TemporaryDirectory() as folder:
            for path in CORPORA[:3] + [DAMAGED]:
                os.symlink(path, os.path.join(folder, os.path.basename(path)))
            out = os.path.join(self.work.name, "command")
            said = subprocess.run([sys.executable, "-m", "vellumsheet.dask", "--scheduler",
                                   self.cluster.scheduler_address, folder, out], capture_output=True)
        lines = said.stderr.decode().splitlines()
        self.assertEqual(said.returncode, 1, lines)
        self.assertEqual(lines[-1], "3 of 4 files converted, 1 failed.")
        self.assertEqual(sorted(os.listdir(out)), sorted(os.path.basename(p)[:-4] + ".xls" for p in CORPORA[:3]))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
