# SPDX-License-Identifier: GPL-3.0-or-later
# A screen reader's view of the program over AT-SPI: find inputs by name, type through
# EditableText, press Calculate through its action, read the result and its change event.
import os, sys, time
import pyatspi
from gi.repository import GLib

def wait(what, seconds=10, doc=None):
    end = time.time() + seconds
    while time.time() < end:
        found = what()
        if found:
            return found
        ctx = GLib.MainContext.default()
        while ctx.pending():
            ctx.iteration(False)
        time.sleep(0.05)
    sys.exit("timed out waiting for " + (doc or what.__doc__ or "a condition"))

def app():
    """the program on the bus"""
    return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name.lower() == "titrova"), None)

def find(root, pred):
    return pyatspi.utils.findDescendant(root, pred)

def named(name, role=None):
    return find(app(), lambda o: o.name == name and (role is None or o.getRole() == role))

def labelled(obj):
    return [t.name for r in obj.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for t in (r.getTarget(i) for i in range(r.getNTargets()))]

def act(obj, name):
    a = obj.queryAction()
    i = next(i for i in range(a.nActions) if a.getName(i) == name)
    a.doAction(i)

wait(app)
events = []
pyatspi.Registry.registerEventListener(events.append, "object:property-change:accessible-name",
                                       "object:text-changed")
result = wait(lambda: find(app(), lambda o: "Required Addition" in labelled(o)))
print("result:", repr(result.name), "labelled by", labelled(result), "role", result.getRoleName())
for caption, text in (("Existing TA", "5"), ("Target TA", "6")):
    box = named(caption, pyatspi.ROLE_TEXT)
    box.queryEditableText().setTextContents(text)
    print(caption, "=", box.queryText().getText(0, -1))
for o in pyatspi.utils.findAllDescendants(app(), lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX):
    print("list:", repr(o.name), "description", repr(o.description), "labelled by", labelled(o))
act(named("Calculate", pyatspi.ROLE_PUSH_BUTTON), "Press")
wait(lambda: result.name == "95.52" and result)
wait(lambda: [e for e in events if e.source == result])
print("after Calculate:", result.name, "events:", sorted({e.type for e in events if e.source == result}))

about = find(app(), lambda o: o.name == "About Titrova" and o.getRole() == pyatspi.ROLE_MENU_ITEM)
start = time.time()
act(about, "Press")
print("About action returned in %.2f s" % (time.time() - start))
box = wait(lambda: find(app(), lambda o: o.name == "About" and o.getRole() == pyatspi.ROLE_DIALOG))
link = wait(lambda: find(box, lambda o: o.name == "titrova.example.org"))
print("link:", link.getRoleName(), [link.queryAction().getName(i) for i in range(link.queryAction().nActions)])
act(link, "Press")
opened = os.environ["OPENED"]
wait(lambda: os.path.exists(opened) and open(opened).read())
print("opened:", open(opened).read().strip())
