"""Fresh private Wine prefixes for packaging and its checks.

Booting a prefix takes half a minute, so one pristine prefix is booted per work folder (again
when the installed Wine packages change) and every fresh prefix is a copy of it. The copy
hard-links the system's program and library files, which Wine only reads, and copies the rest
(registry, settings, everything a program may change in place). The pristine prefix has run a
program once, so that what Wine's services write when they first start is part of it.

The registry is read from the files in which Wine keeps it (regfile), which the Wine server
writes when it stops: snapshot() stops it, and the next program starts it again.
"""

import contextlib
import fcntl
import os
import shutil
import subprocess
import tempfile

import regfile

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
_SHARED_SUFFIXES = (".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".ax", ".tlb", ".ds",
                    ".msstyles", ".ttf", ".nls")


# How the pristine prefix is made: booted, then one program run.
_BOOT = (["wineboot", "--init"], ["cmd", "/c", "ver"])


def windows_path(path):
    """A Unix path as Wine's Z: drive sees it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def _wine_packages():
    result = subprocess.run(["dpkg-query", "-W", "-f", "${Package} ${Version}\\n", "wine*",
                             "libwine*"], capture_output=True, text=True)
    return result.stdout


def _environment(prefix):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINESERVER=WINESERVER,
               WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def _pristine(folder):
    """The booted pristine prefix of folder, booted first when missing or out of date."""
    path = os.path.abspath(os.path.join(folder, "wine-pristine"))
    stamp = os.path.join(folder, "wine-pristine.stamp")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "wine-pristine.lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        wanted = _wine_packages() + repr(_BOOT)
        if os.path.exists(stamp) and open(stamp).read() == wanted:
            return path
        shutil.rmtree(path, ignore_errors=True)
        env = _environment(path)
        for program in _BOOT:
            subprocess.run([WINE, *program], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        subprocess.run([WINESERVER, "-w"], env=env, check=True)
        with open(stamp, "w") as out:
            out.write(wanted)
    return path


def _link_or_copy(source, target):
    if source.lower().endswith(_SHARED_SUFFIXES):
        os.link(source, target)
    else:
        shutil.copy2(source, target)


class Prefix:
    """A fresh prefix (see fresh())."""

    def __init__(self, folder, name):
        self.path = os.path.abspath(os.path.join(folder, name))
        self.env = _environment(self.path)
        self.serving = False
        if os.path.exists(self.path):
            self.stop()
            shutil.rmtree(self.path)
        shutil.copytree(_pristine(folder), self.path, symlinks=True,
                        copy_function=_link_or_copy)

    def stop(self):
        """Stops the prefix's Wine server and its programs; the server saves the registry."""
        for option in ("-k", "-w"):
            subprocess.run([WINESERVER, option], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.serving = False

    def drive_c(self, *parts):
        return os.path.join(self.path, "drive_c", *parts)

    def run(self, *args, check=True, env=None):
        """Runs a Windows program; returns (exit code, standard output, standard error). A
        failure raises unless check is False."""
        if not self.serving:
            # One server for all programs of the prefix until the next snapshot.
            subprocess.run([WINESERVER, "-p"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            self.serving = True
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = subprocess.run([WINE, *args], env={**self.env, **(env or {})},
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            out.seek(0)
            err.seek(0)
            output = out.read().decode("utf-8", "replace")
            errors = err.read().decode("utf-8", "replace")
        if check and result.returncode != 0:
            raise RuntimeError(f"{' '.join(args)} failed with exit code {result.returncode}:\n"
                               f"{output}{errors}")
        return result.returncode, output, errors

    def snapshot(self):
        """The machine's and the user's registry as they stand (regfile.load)."""
        if self.serving:
            self.stop()
        return regfile.load(self.path)


@contextlib.contextmanager
def fresh(folder, name):
    """A fresh prefix named name in folder, removed again afterwards."""
    prefix = Prefix(folder, name)
    try:
        yield prefix
    finally:
        prefix.stop()
        shutil.rmtree(prefix.path, ignore_errors=True)
