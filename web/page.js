// The page around the game: the program's start, its canvas and files, the full-screen
// button, and the service worker that keeps the site for playing offline.
"use strict";

const canvas = document.getElementById("canvas");
const statusLine = document.getElementById("status");

// Read by rapiko.js when it loads. The game folder is the player's own, kept by the browser
// (web/page_storage.js).
var Module = {
  canvas,
  arguments: ["--window"],
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
  // The options screen's display: the browser's full screen of the page (1), or not (0), or
  // the other way (-1).
  rapikoFullScreen: (on) => {
    const now = document.fullscreenElement !== null;
    if (on < 0 || Boolean(on) !== now) toggleFullscreen();
  },
  // The player quit (Esc on the title): the game is on its title again.
  rapikoEnded: (status) => {
    quitLine.textContent =
      status === 0
        ? "Your results are saved in this browser. Space starts a round."
        : "The game stopped; reload the page to play again.";
  },
};

const quitLine = document.getElementById("quit");
window.addEventListener("keydown", () => (quitLine.textContent = ""), true);

// A mouse button quits the desktop game at once; in a page a click is how the player
// comes back to it, so the page keeps every mouse button from the game: a click gives the
// game the keyboard, and Esc on the title is the way out.
for (const type of ["mousedown", "mouseup", "click", "dblclick", "contextmenu"]) {
  window.addEventListener(
    type,
    (e) => {
      if (e.target !== canvas) return;
      e.stopPropagation();
      if (type === "mousedown") canvas.focus();
      if (type === "contextmenu") e.preventDefault();
    },
    true,
  );
}

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

// Keys the game never uses stay the browser's (SDL would keep every function key and every
// Ctrl combination from it): F5 reloads, Ctrl+W closes, F11 and F12 as ever. Ctrl with Alt is
// AltGr on some systems, which types characters, so it goes to the game.
for (const type of ["keydown", "keyup"]) {
  window.addEventListener(
    type,
    (e) => {
      const functionKey = /^F([1-9]|1[0-9]|2[0-4])$/.test(e.key);
      if (functionKey || ((e.ctrlKey || e.metaKey) && !e.altKey)) e.stopPropagation();
    },
    true,
  );
}

if ("serviceWorker" in navigator && location.protocol !== "file:") {
  navigator.serviceWorker.register("sw.js").catch((e) => console.warn("no offline copy:", e));
}
