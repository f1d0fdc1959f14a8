// The page around the game: the program's start, its canvas and files, the full-screen
// button, and the service worker that keeps the site for playing offline.
"use strict";

const canvas = document.getElementById("canvas");
const statusLine = document.getElementById("status");

// Read by rapiko.js when it loads. The game folder is /rapiko, where rapiko.data puts
// the default background and word lists.
var Module = {
  canvas,
  arguments: ["--window", "--dir", "/rapiko"],
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  setStatus: (text) => {
    statusLine.textContent = text ? "Loading…" : "";
  },
  onRuntimeInitialized: () => {
    statusLine.textContent = "";
    canvas.focus();
  },
  onAbort: (what) => {
    statusLine.textContent = "The game stopped: " + what;
  },
};

function toggleFullscreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen();
  } else {
    document.documentElement.requestFullscreen().catch(() => {});
  }
  canvas.focus();
}

document.getElementById("fullscreen").addEventListener("click", toggleFullscreen);
window.addEventListener(
  "keydown",
  (e) => {
    if (e.key === "Enter" && e.altKey) {
      e.preventDefault();
      e.stopImmediatePropagation();
      toggleFullscreen();
    }
  },
  true,
);

if ("serviceWorker" in navigator && location.protocol !== "file:") {
  navigator.serviceWorker.register("sw.js").catch((e) => console.warn("no offline copy:", e));
}
