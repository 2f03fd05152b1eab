#!/usr/bin/python3
"""Writes the emoji table Quorvane searches, from Debian's Unicode data.

Usage: make-emoji-table.py EMOJI_TEST ANNOTATIONS ANNOTATIONS_DERIVED OUTPUT

EMOJI_TEST is emoji-test.txt (unicode-data); the annotations are CLDR's
English ones (unicode-cldr-core). Each fully-qualified emoji, in the file's
order and without skin-tone variants, becomes
{"emoji", "description", "category", "aliases", "tags"}: the group as its
category ("Component" left out), the name as its description, the chat
shortcodes and the English name of the emoji module (python3-emoji) as
aliases, and CLDR's keywords, less the description, as tags.
"""
import json
import sys
import xml.etree.ElementTree as ElementTree

import emoji

CATEGORIES = [
    "Smileys & Emotion", "People & Body", "Animals & Nature", "Food & Drink",
    "Travel & Places", "Activities", "Objects", "Symbols", "Flags",
]
SKIN_TONES = {chr(c) for c in range(0x1F3FB, 0x1F400)}


def keywords(paths):
    found = {}
    for path in paths:
        for annotation in ElementTree.parse(path).getroot().iter("annotation"):
            if annotation.get("type") == "tts" or not annotation.text:
                continue
            words = found.setdefault(annotation.get("cp"), [])
            for word in annotation.text.split("|"):
                word = word.strip()
                if word and word not in words:
                    words.append(word)
    return found


def aliases_of(character):
    data = emoji.EMOJI_DATA.get(character) or emoji.EMOJI_DATA.get(character.replace("\ufe0f", ""))
    if not data:
        return []
    names = []
    for name in data.get("alias", []) + [data["en"]]:
        name = name.strip(":").lower()
        if name and name not in names:
            names.append(name)
    return names


def main(emoji_test, annotations, derived, output):
    tags = keywords([annotations, derived])
    table = []
    group = None
    with open(emoji_test, encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("# group:"):
                group = line.split(":", 1)[1].strip()
                continue
            if line.startswith("#") or ";" not in line:
                continue
            fields, comment = line.split("#", 1)
            if fields.split(";")[1].strip() != "fully-qualified" or group not in CATEGORIES:
                continue
            character = "".join(chr(int(c, 16)) for c in fields.split(";")[0].split())
            if SKIN_TONES & set(character):
                continue
            # "# 😀 E1.0 grinning face"
            description = comment.strip().split(" ", 2)[2]
            words = tags.get(character) or tags.get(character.replace("\ufe0f", "")) or []
            table.append({
                "emoji": character,
                "description": description,
                "category": group,
                "aliases": aliases_of(character),
                "tags": [w for w in words if w != description],
            })
    if len(table) < 1000:
        sys.exit(f"make-emoji-table: only {len(table)} emoji in {emoji_test}")
    with open(output, "w", encoding="utf-8") as out:
        json.dump(table, out, ensure_ascii=False, separators=(",", ":"))
        out.write("\n")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
