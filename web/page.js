// The page around the game: the program's start, its canvas and files, the full-screen
// button, the page's line and texts in the game's language, taps and clicks kept from the
// game, and the service worker that keeps the site for playing offline.
"use strict";

const canvas = document.getElementById("canvas");
const statusLine = document.getElementById("status");
const note = document.getElementById("note");
const fullscreenButton = document.getElementById("fullscreen");

// The page's texts follow the game's language: its catalogues' "page" entries, compiled into
// kPageTexts (page_texts.js, made by tools/po_to_page.py). Until the game tells its language,
// the browser's first, as the game's own default reads it.
let language = (navigator.languages?.[0] || navigator.language || "en").split("-")[0].toLowerCase();
function tr(english, ...values) {
  const text = kPageTexts[language]?.[english] || english;
  return text.replace(/\{(\d)\}/g, (_, i) => values[Number(i)] ?? "");
}

// Each shown line as its English text and values, so that it is said again in a new language.
const shown = new Map();
function say(element, english, ...values) {
  if (english === "") {
    shown.delete(element);
    element.textContent = "";
  } else {
    shown.set(element, [english, values]);
    element.textContent = tr(english, ...values);
  }
}

function followLanguage(code) {
  language = code;
  document.documentElement.lang = code;
  document.title = tr("Rapiko - keyboard practice");
  fullscreenButton.textContent = tr("Full screen");
  fullscreenButton.title = tr("Full screen (Alt+Enter)");
  for (const [element, [english, values]] of shown) element.textContent = tr(english, ...values);
}
followLanguage(kPageTexts[language] ? language : "en");
say(statusLine, "Loading…");

// Leaving the page while a round (or its name entry) is on loses it: the browser asks first.
let roundOn = false;
window.addEventListener("beforeunload", (e) => {
  if (!roundOn) return;
  e.preventDefault();
  e.returnValue = "";
});

// Read by rapiko.js when it loads. The game folder is the player's own, kept by the browser
// (web/page_storage.js).
var Module = {
  canvas,
  arguments: ["--window"],
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  setStatus: (text) => (text ? say(statusLine, "Loading…") : say(statusLine, "")),
  onRuntimeInitialized: () => {
    say(statusLine, "");
    canvas.focus();
  },
  onAbort: (what) => say(statusLine, "The game stopped: {0}", String(what)),
  // The options screen's display: the browser's full screen of the page (1), or not (0), or
  // the other way (-1).
  rapikoFullScreen: (on) => {
    const now = document.fullscreenElement !== null;
    if (on < 0 || Boolean(on) !== now) toggleFullscreen();
  },
  // Told by the game as it goes (media/sdl/system.cpp): its language, and whether a round is on.
  rapikoFollow: (code, on) => {
    roundOn = on;
    if (code !== language) followLanguage(code);
  },
  // The player quit (Esc on the title): the game is on its title again.
  rapikoEnded: (status) => {
    roundOn = false;
    if (status !== 0) {
      say(note, "The game stopped; reload the page to play again.");
    } else if (unkept) {
      say(note, "Space starts a round.");
    } else {
      say(note, "Your results are saved in this browser. Space starts a round.");
    }
  },
  // The browser keeps no files for the page (web/page_storage.js): the game plays on, and the
  // page says it once.
  rapikoUnkept: () => {
    unkept = true;
    say(note, "This browser keeps no data for this page: your results will not be kept.");
  },
};
let unkept = false;

// The page's line at the bottom (the game quit, or it needs a keyboard) until a key comes.
let keyPressed = false;
window.addEventListener(
  "keydown",
  () => {
    keyPressed = true;
    say(note, "");
  },
  true,
);

// On a phone or a tablet the game waits for a keyboard: the page says so until a key comes.
function askForKeyboard() {
  if (!keyPressed && matchMedia("(pointer: coarse)").matches) {
    say(note, "Rapiko is played with a keyboard: connect one to play.");
  }
}
askForKeyboard();

// A mouse button quits the desktop game at once (and SDL turns a touch into one); in a page a
// click or a tap is how the player comes back to it, so the page keeps every mouse button and
// every touch from the game: a click or a tap gives the game the keyboard, and Esc on the
// title is the way out.
const kPointerEvents = ["mousedown", "mouseup", "click", "dblclick", "contextmenu",
                        "touchstart", "touchend", "touchmove", "touchcancel"];
for (const type of kPointerEvents) {
  window.addEventListener(
    type,
    (e) => {
      if (e.target !== canvas) return;
      e.stopPropagation();
      if (type === "mousedown" || type === "touchstart") {
        canvas.focus();
        askForKeyboard();
      }
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

fullscreenButton.addEventListener("click", toggleFullscreen);
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
