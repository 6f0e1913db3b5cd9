"""End-to-end tests: Windows programs under 64-bit Wine, driven by the test robot.

Environment:
  QX_BUILD_DIR   build tree of the win-x64 preset (default /work/main/build/win-x64)
  QX_WINEPREFIX  Wine prefix to use (default $QX_BUILD_DIR/e2e-prefix, created on first use)
  DISPLAY        X display for Wine; without one the session starts its own Xvfb

The helpers live in winetools (make_app, run_app, start_app, winpath, ...).
"""

import pytest

import winetools


@pytest.fixture(scope="session", autouse=True)
def _wine_session_teardown():
    """Stops the Wine session, if a test started one, when the run ends."""
    yield
    winetools.stop_session()


@pytest.fixture
def wine():
    """The Wine session (display, prefix, wineserver) shared by the whole run."""
    return winetools.session()
