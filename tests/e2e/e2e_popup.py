#!/usr/bin/env python3
"""End to end: the card company's pop-up (popup: it completes, sends its opener to the
result and closes itself; popupstall: it stays until the time-out, whose ticks are posted
from outside) and a setup page that leads out of the web (scheme). See docs/testing.md's list.
Options as for e2e_wizard.py; needs QEL_WINE, WINEPREFIX and DISPLAY (scripts/winenv.sh)."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_wizard as W  # noqa: E402
import expected as E  # noqa: E402
import standin_host as H  # noqa: E402
from wizard_driver import CheckFailed, check, poll, visible_owned  # noqa: E402

AUTH_TITLE = "카드사 인증"
AUTH_PAGE = "/plugin/wizard/QEL_pay_auth.html"
PAY_TIMER = 1  # the payment-test dialog's countdown timer


def popups(run):
    """The windows the payment-test dialog owns, as the inspector reads them."""
    window = run.wiz.inspect()
    dialogs = visible_owned(window) if window else []
    return [w for d in dialogs for w in d.get("owned", []) if w["visible"]], dialogs


def centred(popup, dialog):
    """True when the pop-up's centre is the dialog's, within 2 pixels."""
    return all(abs((p0 + p1) // 2 - (d0 + d1) // 2) <= 2 for p0, p1, d0, d1 in
               zip(popup["rect"][:2], popup["rect"][2:], dialog["rect"][:2], dialog["rect"][2:]))


def wait_popup(run):
    """The pop-up on the authentication page: the one window the dialog owns, titled with
    the page's title, centred on the dialog once the page has sized it."""
    poll("the authentication page request", W.fetched(run.server_log, AUTH_PAGE), 30)
    seen = {}

    def settled():
        seen["shown"], seen["dialogs"] = popups(run)
        shown = seen["shown"]
        return (len(shown) == 1 and shown[0]["title"] == AUTH_TITLE and
                centred(shown[0], seen["dialogs"][0]))
    try:
        poll("the pop-up, titled and centred on the dialog", settled, 30)
    except CheckFailed:
        raise CheckFailed("the pop-up windows of the payment-test dialog %r, the dialog at %r"
                          % ([(w["title"], w["rect"]) for w in seen.get("shown", [])],
                             [d["rect"] for d in seen.get("dialogs", [])]))
    W.report("ok: the pop-up shows %s, owned by the payment-test dialog and centred on it"
             % AUTH_TITLE)
    W.snap("5-popup")


def only_the_wizard(run):
    """No window of the wizard's process but its own and the dialogs it names."""
    window = run.wiz.inspect()
    others = [w["title"] for w in (window or {}).get("process_windows", [])
              if w["title"] != E.TITLE]
    check("windows of the wizard's process beside its own", [], others)


def popup(run):
    window = W.reinstall(run, W.start_and_close_notice(run))
    W.open_payment_test(run, window)
    wait_popup(run)
    W.dialog_closed(run.wiz, "the payment-test dialog", 60)
    check("result marker page requested", True, W.fetched(run.server_log, E.RESULT_MARKER)())
    window = W.verdict_shown(run, E.TESTED_SUCCESS)
    only_the_wizard(run)
    H.check_logged(run, "the script error handled by the host",
                   r"site Exec OLECMDID_SHOWSCRIPTERROR: S_OK\n.*script error handled, scripts "
                   r"go on")
    H.check_logged(run, "the pop-up handed a browser of the wizard's",
                   r"NewWindow3 answered: not cancelled, a browser handed back", 1)
    H.check_logged(run, "the pop-up's window.close", r"WindowClosing to 1 sink")
    H.check_host(run)
    W.report("ok: the pop-up sent its opener to the result and closed; no window left")
    W.finish(run, window)


def popupstall(run):
    window = W.reinstall(run, W.start_and_close_notice(run))
    W.open_payment_test(run, window)
    wait_popup(run)
    run.wiz.inspect("--post-timer", str(PAY_TIMER), str(W.TIMEOUT_TICKS))
    W.dialog_closed(run.wiz, "the payment-test dialog", 30)
    check("result marker page requested", False, W.fetched(run.server_log, E.RESULT_MARKER)())
    window = W.verdict_shown(run, E.TESTED_FAILURE)
    only_the_wizard(run)
    W.report("ok: the time-out closed the pop-up with its dialog: a failure")
    W.finish(run, window)


def scheme(run):
    window = W.reinstall(run, W.start_and_close_notice(run))
    H.check_logged(run, "the refresh to the local file cancelled",
                   r"BeforeNavigate2 file:///C:/windows/win.ini to 1 sink\(s\)\n.*navigation "
                   r"cancelled by a sink", 1)
    H.check_logged(run, "the application protocol frame cancelled",
                   r"BeforeNavigate2 ms-msdt:.*\n.*frame 0 navigation cancelled by a sink", 1)
    H.check_logged(run, "addresses outside the web followed", r"outside the web followed", 0)
    W.report("ok: the local file and the application protocol cancelled; the marker reached")
    W.finish(run, W.payment_test(run, window, E.TESTED_SUCCESS))


# The authentication page stays 30 s before it moves on, so that the pop-up is seen
# while it is open even when each look from outside takes seconds (other
# scenarios run beside this one).
W.SCENARIOS["popup"] = (popup, "popup", 30)
W.SCENARIOS["popupstall"] = (popupstall, "popupstall", 2)
W.SCENARIOS["scheme"] = (scheme, "scheme", 2)

if __name__ == "__main__":
    sys.exit(W.main())
