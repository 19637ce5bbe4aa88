#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the package's machine-readable copyright file from the project's
REUSE data: the copyright and licence of every file as `reuse spdx` reports
them (headers and .reuse/dep5 alike), grouped into DEP-5 paragraphs. The
header paragraph is the one of .reuse/dep5.

usage: debian-copyright.py SOURCE_DIR OUTPUT
"""

import re
import subprocess
import sys
from collections import defaultdict
from pathlib import PurePosixPath

# What each licence's stand-alone paragraph says; Debian keeps the full texts.
LICENCE_TEXTS = {
    "GPL-3.0-or-later": """\
This program is free software: you can redistribute it and/or modify
it under the terms of the GNU General Public License as published by
the Free Software Foundation, either version 3 of the License, or
(at your option) any later version.

This program is distributed in the hope that it will be useful,
but WITHOUT ANY WARRANTY; without even the implied warranty of
MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
GNU General Public License for more details.

You should have received a copy of the GNU General Public License
along with this program.  If not, see <https://www.gnu.org/licenses/>.

On Debian systems, the complete text of the GNU General Public License
version 3 can be found in "/usr/share/common-licenses/GPL-3".""",
    "CC0-1.0": """\
To the extent possible under law, the authors have dedicated all copyright
and related and neighboring rights to this software to the public domain
worldwide. This software is distributed without any warranty.

On Debian systems, the complete text of the CC0 1.0 Universal licence
can be found in "/usr/share/common-licenses/CC0-1.0".""",
}


def read_files(source_dir):
    """Yields (path, licences, copyright lines) for every file reuse covers."""
    spdx = subprocess.run(["reuse", "--root", source_dir, "spdx"], check=True,
                          capture_output=True, text=True).stdout
    for block in spdx.split("\n\n"):
        name = re.search(r"^FileName: \./(.*)$", block, re.M)
        if not name:
            continue
        licences = tuple(sorted(set(re.findall(r"^LicenseInfoInFile: (.*)$", block, re.M))))
        text = re.search(r"^FileCopyrightText: <text>(.*?)</text>", block, re.M | re.S)
        lines = []
        if text:
            for line in text.group(1).splitlines():
                line = re.sub(r"^\s*SPDX-FileCopyrightText:\s*", "", line).strip()
                if line:
                    lines.append(line)
        if licences and licences != ("NOASSERTION",) and lines:
            yield name.group(1), licences, lines


def holders_with_years(lines):
    """Merges "2026 A", "2027 A" into "2026-2027 A", one line per holder."""
    years = defaultdict(set)
    for line in lines:
        match = re.match(r"^((?:\d{4}[-, ]*)+)\s*(.*)$", line)
        if match:
            found = [int(y) for y in re.findall(r"\d{4}", match.group(1))]
            years[match.group(2)].update(range(min(found), max(found) + 1))
        else:
            years[line]
    result = []
    for holder in sorted(years):
        span = years[holder]
        if not span:
            result.append(holder)
        elif min(span) == max(span):
            result.append(f"{min(span)} {holder}")
        else:
            result.append(f"{min(span)}-{max(span)} {holder}")
    return tuple(result)


def patterns(group, every_file):
    """The shortest list of "folder/*" and file names that holds exactly the
    files of `group`, among all files reuse knows."""
    def under(folder):
        return [f for f in every_file if folder == PurePosixPath(".") or folder in PurePosixPath(f).parents]

    result = []

    def walk(folder):
        inside = under(folder)
        mine = [f for f in inside if f in group]
        if not mine:
            return
        if len(mine) == len(inside) and folder != PurePosixPath("."):
            result.append(f"{folder}/*")
            return
        subfolders = sorted({PurePosixPath(f).relative_to(folder).parts[0] for f in inside
                             if len(PurePosixPath(f).relative_to(folder).parts) > 1})
        for f in sorted(mine):
            if len(PurePosixPath(f).relative_to(folder).parts) == 1:
                result.append(f)
        for sub in subfolders:
            walk(folder / sub)

    walk(PurePosixPath("."))
    return result


def main():
    source_dir, output = sys.argv[1], sys.argv[2]
    with open(f"{source_dir}/.reuse/dep5", encoding="utf-8") as dep5:
        header = dep5.read().split("\n\n")[0].strip()

    groups = defaultdict(set)
    every_file = []
    for path, licences, lines in read_files(source_dir):
        groups[(holders_with_years(lines), licences)].add(path)
        every_file.append(path)
    if not groups:
        sys.exit("debian-copyright.py: reuse found no file with copyright and licence information")

    # The largest group is "Files: *"; DEP-5 lets later paragraphs override it.
    ordered = sorted(groups.items(), key=lambda item: (-len(item[1]), item[0]))
    paragraphs = [header]
    used = set()
    for index, ((holders, licences), files) in enumerate(ordered):
        listed = ["*"] if index == 0 else patterns(files, every_file)
        used.update(licences)
        paragraphs.append("Files: " + "\n       ".join(listed) + "\n"
                          + "Copyright: " + "\n           ".join(holders) + "\n"
                          + "License: " + " and ".join(licences))
    for licence in sorted(used):
        if licence not in LICENCE_TEXTS:
            sys.exit(f"debian-copyright.py: no licence paragraph for {licence}; add one to LICENCE_TEXTS")
        body = "\n".join(" " + line if line else " ." for line in LICENCE_TEXTS[licence].splitlines())
        paragraphs.append(f"License: {licence}\n{body}")

    with open(output, "w", encoding="utf-8") as out:
        out.write("\n\n".join(paragraphs) + "\n")


if __name__ == "__main__":
    main()
