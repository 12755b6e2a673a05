"""What the stand-in browser's call log says of the wizard as the control's host: the
interfaces its site answered, the GetHostInfo flags, RegisterAsDropTarget and the
process's feature controls, and what a page did (pop-ups, cancelled navigations)."""
import re

from wizard_driver import CheckFailed, check

HOST_INTERFACES = ("IDocHostUIHandler", "IDocHostShowUI", "IOleCommandTarget")
HOST_FLAGS = ("DISABLE_HELP_MENU", "LOCAL_MACHINE_ACCESS_CHECK", "DISABLE_UNTRUSTEDPROTOCOL")
# Set by the wizard for the process, and left off so that no install or pop-up is
# blocked silently in a host without an information bar.
FEATURES_ON = ("OBJECT_CACHING", "ZONE_ELEVATION", "MIME_HANDLING", "MIME_SNIFFING",
               "WINDOW_RESTRICTIONS", "DISABLE_MK_PROTOCOL", "VALIDATE_NAVIGATE_URL",
               "HTTP_USERNAME_PASSWORD_DISABLE", "SAFE_BINDTOOBJECT", "UNC_SAVEDFILECHECK",
               "DISABLE_TELNET_PROTOCOL")
FEATURES_OFF = ("WEBOC_POPUPMANAGEMENT", "SECURITYBAND", "RESTRICT_ACTIVEXINSTALL",
                "RESTRICT_FILEDOWNLOAD")


def read(run):
    with open(run.browser_log, encoding="utf-8", errors="replace") as f:
        return f.read()


def browsers(text):
    """The ids of the browsers the log shows a site given to."""
    return sorted(set(re.findall(r"browser#(\d+) SetClientSite site", text)), key=int)


def check_host(run):
    """Every browser of the run had a host that answers, with the three flags, and took
    no drops; the process's feature controls were on from the first browser."""
    text = read(run)
    ids = browsers(text)
    if not ids:
        raise CheckFailed("the stand-in's log shows no browser given a site")
    for ident in ids:
        for name in HOST_INTERFACES:
            check("browser#%s: the site's answer for %s" % (ident, name), ["S_OK"],
                  re.findall(r"browser#%s site QueryInterface %s: (\S+)" % (ident, name), text))
        flags = re.findall(r"browser#%s site GetHostInfo flags (\S+)," % ident, text)
        check("browser#%s: GetHostInfo asked" % ident, True, bool(flags))
        check("browser#%s: GetHostInfo flags" % ident, [],
              [f for f in HOST_FLAGS if f not in flags[0].split("|")])
        check("browser#%s: RegisterAsDropTarget" % ident, ["false"],
              re.findall(r"browser#%s RegisterAsDropTarget (\S+)" % ident, text))
    features = re.search(r"features on: ([^;]*); off: ([^;]*);", text)
    on, off = features.group(1).split(), features.group(2).split()
    check("feature controls off that the wizard sets", [], [f for f in FEATURES_ON if f in off])
    check("feature controls on that would block silently", [],
          [f for f in FEATURES_OFF if f in on])
    check("windows of the control's own", [], re.findall(r"own window shown: (.*)", text))
    return len(ids)


def by_thread(text):
    """The log's lines one thread after another, each thread's in their order: a line
    that follows another in a pattern follows it on the same thread, whatever the
    page-fetching thread wrote between them."""
    threads = {}
    for line in text.splitlines():
        threads.setdefault(line.split("]", 1)[0], []).append(line)
    return "\n".join(line for lines in threads.values() for line in lines) + "\n"


def check_logged(run, what, pattern, count=None):
    """The log holds lines matching pattern (lines in a pattern are of one thread): at
    least one, or exactly count."""
    found = re.findall(pattern, by_thread(read(run)))
    if count is None:
        check(what, True, bool(found))
    else:
        check(what, count, len(found))
