// The Node build's environment: the caller's own variables (HOME, XDG_DATA_HOME, TMPDIR, TZ),
// none of the made-up ones emscripten would otherwise give the program.
Module["preRun"] = (Module["preRun"] || []).concat(() => {
  for (const name of ["USER", "LOGNAME", "PATH", "PWD", "HOME", "LANG", "_"]) ENV[name] = undefined;
  Object.assign(ENV, process.env);
});
