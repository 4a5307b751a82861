import pytest

from scenario import Scenario
from wine_session import BUILD, WineSession


@pytest.fixture(scope="session")
def wine_session():
    for tool in ("harness.exe", "fake_java.exe", "fake_java_console.exe", "launcher.exe"):
        if not (BUILD / "x86_64" / tool).exists():
            pytest.exit(f"{BUILD / 'x86_64' / tool} is missing: run tools/build first", returncode=2)
    session = WineSession().start()
    yield session
    session.stop()


@pytest.fixture
def scenario(wine_session, tmp_path):
    return Scenario(wine_session, tmp_path)
