#!/usr/bin/env python3
"""What the desktop, the software centres and the shell get from the package.

    check_packaging.py CHECK SOURCE_DIR BUILD_DIR

CHECK is one of: metainfo, desktop, mime, cli-documented, completion. A check
whose tool is not installed exits with 77, which ctest reports as skipped.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

CHECK, SOURCE, BUILD = sys.argv[1:4]
PACKAGING = os.path.join(SOURCE, "packaging")
DESKTOP_ID = "org.example.glyphane.Glyphane"
SKIP = 77


def need(tool):
    if shutil.which(tool) is None:
        print(f"{tool} is not installed: skipped")
        sys.exit(SKIP)


def run(args, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, **kwargs)
    print(result.stdout + result.stderr)
    return result


def metainfo():
    need("appstreamcli")
    path = os.path.join(PACKAGING, DESKTOP_ID + ".metainfo.xml")
    return run(["appstreamcli", "validate", "--no-net", path]).returncode == 0


def desktop():
    need("desktop-file-validate")
    result = run(["desktop-file-validate", os.path.join(PACKAGING, DESKTOP_ID + ".desktop")])
    # Hints are advice; errors and warnings fail.
    return result.returncode == 0 and not re.search(r": (error|warning):", result.stdout)


def mime():
    need("update-mime-database")
    with tempfile.TemporaryDirectory() as tmp:
        os.makedirs(os.path.join(tmp, "packages"))
        shutil.copy(os.path.join(PACKAGING, "glyphane-mime.xml"), os.path.join(tmp, "packages"))
        result = run(["update-mime-database", "-V", tmp])
        if result.returncode != 0 or "rror" in result.stderr or "arning" in result.stderr:
            return False
        with open(os.path.join(tmp, "globs2")) as f:
            globs = f.read()
        with open(os.path.join(tmp, "magic"), "rb") as f:
            magic = f.read()
    return ("application/x-glyphane-logo:*.lgo" in globs and "application/x-tessaro-upgrade:*.psw" in globs
            and b"[50:application/x-tessaro-upgrade]" in magic and b"TPSW" in magic)


def usage_words():
    """The commands and options glyphane-cli's own usage names."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    usage = subprocess.run([os.path.join(BUILD, "bin", "glyphane-cli"), "--help"], capture_output=True,
                           text=True, env=env, check=True).stdout
    commands = set(re.findall(r"^  glyphane-cli ([a-z][a-z-]*)", usage, re.M))
    options = set(re.findall(r"(--[a-z][a-z-]*)", usage))
    return commands, options


def cli_documented():
    """Every command and option of the usage is in the manual and the completion."""
    commands, options = usage_words()
    with open(os.path.join(PACKAGING, "man", "glyphane-cli.1.txt")) as f:
        manual = f.read()
    with open(os.path.join(PACKAGING, "glyphane-cli.bash-completion")) as f:
        completion = f.read()
    missing = []
    for word in sorted(commands | options):
        quoted = re.escape(word)
        if not re.search(r"`" + quoted + r"`", manual):
            missing.append(f"{word} is not in the manual page")
        if not re.search(r"(?<![\w-])" + quoted + r"(?![\w-])", completion):
            missing.append(f"{word} is not in the completion")
    print("\n".join(missing))
    return not missing and len(commands) > 10


def complete(line, env):
    """The words bash offers for the end of line, with the completion loaded."""
    script = f"""
source /usr/share/bash-completion/bash_completion
source {os.path.join(PACKAGING, "glyphane-cli.bash-completion")}
COMP_LINE={line!r}
COMP_POINT=${{#COMP_LINE}}
read -r -a COMP_WORDS <<< "$COMP_LINE"
[[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
COMP_CWORD=$((${{#COMP_WORDS[@]}} - 1))
_glyphane_cli
printf '%s\\n' "${{COMPREPLY[@]}}"
"""
    return subprocess.run(["bash", "-c", script], capture_output=True, text=True, env=env).stdout.split()


def completion():
    """Models come from the catalogue and ports from the settings, as the programs read them."""
    if not os.path.exists("/usr/share/bash-completion/bash_completion"):
        print("bash-completion is not installed: skipped")
        sys.exit(SKIP)
    with tempfile.TemporaryDirectory() as tmp:
        os.makedirs(os.path.join(tmp, "data", "Glyphane"))
        with open(os.path.join(tmp, "data", "Glyphane", "Glyphane.cfg"), "w") as f:
            f.write("[Printers]\nReserved0 = CfgFile\\Reserved.cfg\nWGJ33 = CfgFile\\WGJ33.cfg\n"
                    "# a comment\nQNND = CfgFile\\QNND.cfg\n[Other]\nNOTAMODEL = x\n")
        settings = os.path.join(tmp, "settings.ini")
        with open(settings, "w") as f:
            f.write("[Registry]\nPath=/tmp/\n[Ports]\nCOM1=/dev/ttyS0\nCOM2=/dev/ttyS1\nLPT1=/dev/lp0\n")
        env = dict(os.environ, XDG_DATA_HOME=os.path.join(tmp, "data"), GLYPHANE_SETTINGS=settings,
                   PATH=os.path.join(BUILD, "bin") + os.pathsep + os.environ["PATH"])
        cases = [
            ("glyphane-cli ps", ["psw-info", "psw-load", "psw-save"]),
            ("glyphane-cli send logo.bmp --model ", ["QNND", "WGJ33"]),
            ("glyphane-cli send logo.bmp --port ", ["COM1", "COM2", "LPT1", "all-found"]),
            ("glyphane-cli scan --ports COM1,C", ["COM1,COM1", "COM1,COM2"]),
            ("glyphane-cli print-logo --port L", ["LPT1"]),
            ("glyphane-cli raster in.bmp out.bin --fr", ["--frame"]),
            ("glyphane-cli send logo.bmp --frame ", ["bold", "double", "thin"]),
        ]
        ok = True
        for line, expected in cases:
            got = sorted(complete(line, env))
            if got != sorted(expected):
                print(f"{line!r}: offered {got}, expected {sorted(expected)}")
                ok = False
        return ok


CHECKS = {"metainfo": metainfo, "desktop": desktop, "mime": mime, "cli-documented": cli_documented,
          "completion": completion}

if __name__ == "__main__":
    sys.exit(0 if CHECKS[CHECK]() else 1)
