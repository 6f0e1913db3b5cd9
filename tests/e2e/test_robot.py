"""The robot reads back what a program shows and reports its full exit code."""

import pytest

from winetools import msgbox_probe_exe, run_app, start_app, winpath

ALL_ONES = 0xFFFFFFFF  # what -1 looks like as an unsigned exit code


def test_message_box_is_read_back_and_dismissed():
    result = run_app(msgbox_probe_exe(), ["Cannot find the runtime."])
    assert result.messages == ["Cannot find the runtime."]
    assert result.captions == ["Error"]
    assert result.owners == [0]
    assert [p["ok"] for p in result.presses] == [True]
    assert not result.timed_out
    assert result.exit == ALL_ONES


@pytest.mark.parametrize("code", [0, 0x100, 0x80000000])
def test_exit_code_keeps_all_32_bits(code):
    # Wine hands Linux only the low byte, which is 0 for every one of these.
    result = run_app(msgbox_probe_exe(), ["--no-box", "--exit", str(code)])
    assert result.windows == []
    assert result.exit == code


@pytest.mark.parametrize("args, cmdline, shown", [
    pytest.param(["two words", 'say "hi"', "C:\\dir with space\\", "tail\\\\", ""], None,
                 'two words\nsay "hi"\nC:\\dir with space\\\ntail\\\\\n', id="quoted-args"),
    pytest.param(None, '"{probe}" "x y" z', "x y\nz", id="raw-quoted-exe"),
    pytest.param(None, '{probe} a\\"b "c\\\\" d""e', 'a"b\nc\\\nde', id="raw-escapes"),
])
def test_arguments_reach_the_program_exactly(args, cmdline, shown):
    probe = msgbox_probe_exe()
    if cmdline is None:
        result = run_app(probe, args)
    else:
        result = run_app(None, cmdline=cmdline.format(probe=winpath(probe)))
    assert result.messages == [shown]
    assert result.exit == ALL_ONES


def test_timeout_kills_a_program_that_waits_for_the_user(wine):
    result = run_app(msgbox_probe_exe(), ["Still waiting"], timeout=3, dismiss=False)
    assert result.timed_out and result.exit is None
    assert result.messages == ["Still waiting"]
    assert wine.windows(result.pid) == []


@pytest.mark.parametrize("answer", ["press", "key"])
def test_interactive_answer_closes_the_box(wine, answer):
    app = start_app(msgbox_probe_exe(), ["Answer me"])
    try:
        box = app.wait_window()
        assert [w["hwnd"] for w in wine.windows(app.pid)] == [box["hwnd"]]
        if answer == "press":
            assert wine.press(box["hwnd"], 1)["ok"]
        else:
            assert wine.key(box["hwnd"], "RETURN")["ok"]
        result = app.finish()
    finally:
        app.kill()
    assert not result.timed_out
    assert result.messages == ["Answer me"]
    assert result.exit == ALL_ONES
