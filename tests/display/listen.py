#!/usr/bin/python3
"""What a screen reader gets from the game over AT-SPI, one line per event on
standard output: the kind, the source's role, name and description, and the
event's own detail. Runs until killed. Usage: listen.py <application name>"""
import sys

import pyatspi

EVENTS = [
    "focus:",
    "object:state-changed:focused",
    "object:state-changed:showing",
    "object:property-change:accessible-name",
    "object:property-change:accessible-description",
    "object:text-changed",
    "object:visible-data-changed",
    "object:announcement",
    "window:activate",
]


def field(text):
    return (text or "").replace("|", "/").replace("\n", " ")


def heard(event):
    source = event.source
    try:
        if source.getApplication().name != sys.argv[1]:
            return
        role, name, description = source.getRoleName(), source.name, source.description
        # at-spi2-core 2.46 names a push button so; later versions "button".
        if role == "button":
            role = "push button"
    except Exception:   # the object went before it could be asked
        return
    detail = event.any_data if isinstance(event.any_data, str) else event.detail1
    print("|".join(field(str(x)) for x in (event.type, role, name, description, detail)), flush=True)


pyatspi.Registry.registerEventListener(heard, *EVENTS)
print("listening", flush=True)
pyatspi.Registry.start()
