#!/usr/bin/env python3
"""Puts the default scene's description together: the base description, then each slide file.

  assemble-scene.py <base.json> <output.json> [slide.json ...]

A slide file holds one slide (an object) or several (a list), in the form of an entry of the
base description's "slides"; they are appended in the order given (the build sorts them by file
name). A slide may also hold "masks", in the form of the description's "masks": they go into the
document's mask table (the GUIDs its brushes name). The output is written only when it changes, so
the document is not rewritten for nothing.
"""
import json
import sys


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8") as f:
        scene = json.load(f)
    for path in argv[3:]:
        with open(path, encoding="utf-8") as f:
            try:
                slides = json.load(f)
            except json.JSONDecodeError as error:
                sys.exit(f"{path}: {error}")
        if isinstance(slides, dict):
            slides = [slides]
        if not isinstance(slides, list) or not all(isinstance(s, dict) for s in slides):
            sys.exit(f"{path}: a slide file holds one slide object or a list of them")
        for slide in slides:
            if "masks" in slide:
                scene.setdefault("masks", []).extend(slide.pop("masks"))
        scene["slides"].extend(slides)
    text = json.dumps(scene, indent=2, ensure_ascii=False) + "\n"
    try:
        with open(argv[2], encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(argv[2], "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv)
