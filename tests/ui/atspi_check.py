"""Starts PROGRAM and meets its fader window as a screen reader does, through
AT-SPI: the tree of its controls, and "Fade" pressed through the action
interface. Run inside with-accessibility-bus.sh:  atspi_check.py PROGRAM"""
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# get_action_name's successor is not in every libatspi yet.
warnings.simplefilter("ignore", DeprecationWarning)


def check(ok, what):
    if not ok:
        sys.exit(f"FAIL: {what}")


def wait_for(condition, seconds=20):
    end = time.time() + seconds
    while not condition() and time.time() < end:
        time.sleep(0.1)
    return condition()


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())] if node else []


def fader_window():
    return next((w for app in children(Atspi.get_desktop(0)) for w in children(app) if w and w.get_name() == "Quorvex AimFader"
                 and w.get_state_set().contains(Atspi.StateType.SHOWING)), None)


def actions(node):
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


def spoken(node):
    """Role, name and what the control offers, as one line."""
    offers = node.get_interfaces()
    marks = {"value": "Value" in offers, "editable": "EditableText" in offers,
             "press": "Action" in offers and "Press" in actions(node),
             "default": node.get_state_set().contains(Atspi.StateType.IS_DEFAULT)}
    return " ".join([f'{node.get_role_name()} "{node.get_name()}"'] + [mark for mark, on in marks.items() if on])


def related(node, relation):
    return [r.get_target(i).get_name() for r in node.get_relation_set() if r.get_relation_type() == relation
            for i in range(r.get_n_targets())]


def main():
    window = wait_for(fader_window, 40)
    check(window, "no fader window on the accessibility bus")
    controls = {c.get_name(): c for c in children(window)}

    bars = [f'scroll bar "Colour {g}, {c}" value' for g in (1, 2, 3) for c in ("red", "green", "blue")]
    expected = bars + ['image "Colour 1"', 'image "Colour 2"', 'image "Colour 3"', 'push button "Fade" press',
                       'push button "Fade Wavy" press default', 'push button "Send IM" press',
                       'text "Text to fade" editable', "HTML code", 'label "faded text"', 'image "HTML preview"']
    # The HTML box brings its own interface; here it is named.
    said = [spoken(c) if c.get_name() != "HTML code" else c.get_name() for c in children(window)]
    check(said == expected, f"the tree reads {said}")

    label, preview = controls["faded text"], controls["HTML preview"]
    check(related(label, Atspi.RelationType.LABEL_FOR) == ["HTML preview"], "\"faded text\" is not the preview's label")
    check(related(preview, Atspi.RelationType.LABELLED_BY) == ["faded text"], "the preview is not labelled by \"faded text\"")

    # "Fade" pressed as a screen reader presses it: the preview says the text.
    fade = controls["Fade"]
    Atspi.Action.do_action(fade, actions(fade).index("Press"))
    check(wait_for(lambda: preview.get_description() == "Text Here", 5),
          f"the preview says {preview.get_description()!r}")


program = subprocess.Popen([sys.argv[1]])
try:
    main()
finally:
    program.terminate()
    program.wait()
