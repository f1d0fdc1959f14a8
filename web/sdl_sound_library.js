// What SDL's sound in the page needs of emscripten's library: functions that emscripten adds
// only for its own SDL port (resuming the sound on the first key, calling the mixer back).
mergeInto(LibraryManager.library, {
  rapiko_sdl_sound__deps: ["$autoResumeAudioContext", "$dynCall"],
  rapiko_sdl_sound: function () {},
});
