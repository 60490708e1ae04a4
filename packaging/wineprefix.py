"""Fresh private Wine prefixes for packaging and its checks.

Booting a prefix takes half a minute, so one pristine prefix is booted per work folder (again
when the installed Wine packages change) and every fresh prefix is a copy of it. The copy
hard-links the system's program and library files, which Wine only reads, and copies the rest
(registry, settings, everything a program may change in place).
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
        wanted = _wine_packages()
        if os.path.exists(stamp) and open(stamp).read() == wanted:
            return path
        shutil.rmtree(path, ignore_errors=True)
        env = _environment(path)
        subprocess.run([WINE, "wineboot", "--init"], env=env, stdin=subprocess.DEVNULL,
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
    """A fresh prefix with its own running Wine server (see fresh())."""

    def __init__(self, folder, name):
        self.path = os.path.abspath(os.path.join(folder, name))
        self.env = _environment(self.path)
        if os.path.exists(self.path):
            self.stop()
            shutil.rmtree(self.path)
        shutil.copytree(_pristine(folder), self.path, symlinks=True,
                        copy_function=_link_or_copy)
        # Wine's background services inherit the first process's output: give them none.
        subprocess.run([WINESERVER, "-p"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        self.run("cmd", "/c", "ver")

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def drive_c(self, *parts):
        return os.path.join(self.path, "drive_c", *parts)

    def run(self, *args, check=True, env=None):
        """Runs a Windows program; returns (exit code, output). A failure raises unless check is
        False."""
        with tempfile.TemporaryFile() as out:
            result = subprocess.run([WINE, *args], env={**self.env, **(env or {})},
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=out)
            out.seek(0)
            output = out.read().decode("utf-8", "replace")
        if check and result.returncode != 0:
            raise RuntimeError(f"{' '.join(args)} failed with exit code {result.returncode}:\n"
                               f"{output}")
        return result.returncode, output

    def export(self, key):
        """The registry below key as the 64-bit view shows it; the 32-bit view of the machine's
        classes lies below Software\\Classes\\Wow6432Node there."""
        with tempfile.TemporaryDirectory() as folder:
            file = os.path.join(folder, "export.reg")
            self.run("reg", "export", key, windows_path(file), "/reg:64", "/y")
            return regfile.load(file)


@contextlib.contextmanager
def fresh(folder, name):
    """A fresh prefix named name in folder, removed again afterwards."""
    prefix = Prefix(folder, name)
    try:
        yield prefix
    finally:
        prefix.stop()
        shutil.rmtree(prefix.path, ignore_errors=True)
