"""A real headless Chromium, driven by Selenium, on the pages of a folder
served on 127.0.0.1: what the page's tests and scripts/measure-web share.
Run with Debian's python3, which has Selenium."""
import functools, http.server, shutil, tempfile, threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class Quiet(http.server.SimpleHTTPRequestHandler):
    log_message = lambda self, *args: None


class Browser:
    def __init__(self, site):
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Quiet, directory=site))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.profile = tempfile.mkdtemp(prefix="stakko-web-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/lib/chromium/chromium"
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", "--user-data-dir=" + self.profile):
            options.add_argument(arg)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_page_load_timeout(30)
        self.driver.set_script_timeout(30)
        self.viewport(1024, 768)

    def viewport(self, width, height, ratio=1):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": False})

    def quit(self):
        self.driver.quit()
        self.server.shutdown()
        shutil.rmtree(self.profile, ignore_errors=True)
