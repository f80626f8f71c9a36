// The page around the show. It asks the start-up question with three buttons, fetches the program
// and its content once, and starts a fresh run of the program for each show (as a new process is
// on the desktop), passing the answer and the options of the page's address on its command line:
// ?start-sync=32 becomes --start-sync 32, ?mute becomes --mute. The run draws into the canvas and
// reads its keys through the object this script hands it (hvPage); when it ends (Escape, the end
// marker, an error) the question comes back. ?capture runs the capture mode instead, at once.
//
// window.halcyonvectrum tells whoever watches the page (people and tests) how the run goes.
"use strict";

(function () {
  const kEscape = 27;
  // The checksums of this many frames from the start of a run are kept (ten seconds at 60 a second).
  const kFirstFramesKept = 600;
  const files = {
    wasm: "halcyonvectrum.wasm",
    data: "halcyonvectrum.data",
    metadata: "halcyonvectrum-data.js.metadata",
  };

  const $ = (id) => document.getElementById(id);
  const start = $("start");
  const stage = $("stage");
  const canvas = $("canvas");
  const status = $("status");
  const message = $("message");

  const params = new URLSearchParams(location.search);
  const captureMode = params.has("capture");

  const watch = {
    state: "start", // start, loading, running, ended, error
    frames: 0, // frames shown in this run
    checksum: "", // of the last frame shown (the capture program's frame-log checksum)
    firstChecksums: [], // of the first frames shown (the loading screen among them)
    effect: "", // on screen in the last frame shown
    exitCode: null, // of the last run that ended
    error: null, // { title, text } of the last message shown
    log: [], // capture mode: one frame-log line per frame
    audioState() {
      const sdl = run && run.module.SDL2;
      return sdl && sdl.audioContext ? sdl.audioContext.state : "none";
    },
  };
  window.halcyonvectrum = watch;

  // The program and its content, fetched once and kept for every run.
  let program = null; // a compiled WebAssembly.Module
  let content = null; // the data package's bytes
  let run = null; // the run under way: { module, keys, printed, errorShown }

  function showStatus(text) {
    status.textContent = text;
    status.hidden = !text;
  }

  async function fetchBytes(url) {
    let response;
    try {
      response = await fetch(url);
    } catch (error) {
      throw new Error("could not load " + url + ": " + error.message);
    }
    if (!response.ok) throw new Error("could not load " + url + " (" + response.status + " " + response.statusText + ")");
    return response.arrayBuffer();
  }

  async function fetchFiles() {
    if (!program || !content) {
      showStatus("Loading the show\u2026");
      const [wasm, data] = await Promise.all([fetchBytes(files.wasm), fetchBytes(files.data), fetchBytes(files.metadata)]);
      program = await WebAssembly.compile(wasm);
      content = data;
    }
    showStatus("");
  }

  // --- The run's side of the page: the canvas, the keys, the messages -------------------------

  const context = canvas.getContext("2d", { alpha: false });
  const source = document.createElement("canvas");
  const sourceContext = source.getContext("2d");
  const enlarged = document.createElement("canvas");
  const enlargedContext = enlarged.getContext("2d");

  // The canvas's pixels match its place on the screen, so the scaling below is the only one.
  function fitCanvas() {
    const box = canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(box.width * ratio));
    const height = Math.max(1, Math.round(box.height * ratio));
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
    return [canvas.width, canvas.height];
  }

  // The program's plan: a whole-factor nearest-pixel stage, then smoothly to the target; or
  // straight to the target (factor 0), smoothly or nearest-pixel.
  function draw(pixels, width, height, plan) {
    if (source.width !== width || source.height !== height) {
      source.width = width;
      source.height = height;
    }
    sourceContext.putImageData(new ImageData(pixels, width, height), 0, 0);
    let picture = source;
    if (plan.factor > 0) {
      if (enlarged.width !== width * plan.factor || enlarged.height !== height * plan.factor) {
        enlarged.width = width * plan.factor;
        enlarged.height = height * plan.factor;
      }
      enlargedContext.imageSmoothingEnabled = false;
      enlargedContext.drawImage(source, 0, 0, enlarged.width, enlarged.height);
      picture = enlarged;
    }
    context.imageSmoothingEnabled = plan.factor > 0 || plan.smooth;
    context.imageSmoothingQuality = "low"; // linear, as the desktop's renderer
    context.drawImage(picture, plan.x, plan.y, plan.width, plan.height);
  }

  function showMessage(title, text) {
    watch.error = { title, text };
    $("message-title").textContent = title;
    $("message-text").textContent = text;
    message.hidden = false;
    $("message-ok").focus();
  }

  function pageFor(current) {
    return {
      fitCanvas,
      draw,
      nextKey: () => (current.keys.length ? current.keys.shift() : 0),
      showError(title, text) {
        current.errorShown = true;
        showMessage(title, text);
      },
      frameShown(frame, checksum, effect) {
        watch.frames = frame + 1;
        watch.checksum = checksum;
        watch.effect = effect;
        if (watch.firstChecksums.length < kFirstFramesKept) watch.firstChecksums.push(checksum);
      },
      logLine(line) {
        watch.log.push(line);
      },
    };
  }

  // In full screen a browser takes Escape for itself and only leaves full screen. Where the page
  // may keep it (a keyboard lock, in Chromium), Escape ends the show as on the desktop, and holding
  // it down leaves full screen; elsewhere the first Escape leaves full screen, the second ends.
  function enterFullscreen() {
    stage
      .requestFullscreen()
      .then(() => navigator.keyboard && navigator.keyboard.lock && navigator.keyboard.lock(["Escape"]))
      .catch(() => {});
  }

  function leaveFullscreen() {
    if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) leaveFullscreen();
    else enterFullscreen();
  }

  document.addEventListener("keydown", (event) => {
    if (!run) return;
    const altEnter = event.key === "Enter" && event.altKey;
    if (altEnter || event.key === "F11") {
      if (!event.repeat) toggleFullscreen();
    } else {
      run.keys.push(event.key === "Escape" ? kEscape : event.keyCode || 0);
    }
    event.preventDefault();
  });

  // --- Runs --------------------------------------------------------------------------------------

  // The page's address as options: ?name=value is --name value, ?name is --name.
  function addressOptions() {
    const args = [];
    for (const [name, value] of params) {
      if (name === "capture") continue;
      args.push("--" + name);
      if (value !== "") args.push(value);
    }
    return args;
  }

  function ended(code) {
    const current = run;
    if (!current) return;
    run = null;
    watch.exitCode = code;
    const audio = current.module.SDL2 && current.module.SDL2.audioContext;
    if (audio && audio.state !== "closed") audio.close().catch(() => {});
    leaveFullscreen();
    // A failure that showed no box of its own shows what the program said: its error output (a
    // usage error), or else its last line (the 3D engine's messages go to standard output).
    if (code !== 0 && !current.errorShown) {
      const said = current.printed.join("\n") || current.lastPrinted;
      showMessage("halcyonvectrum", said || "The show ended with exit code " + code + ".");
    }
    if (captureMode) {
      watch.state = code === 0 ? "ended" : "error";
      showStatus("Capture " + (code === 0 ? "finished" : "failed") + ": " + watch.log.length + " frames.");
      return;
    }
    watch.state = code === 0 ? "start" : "error";
    stage.hidden = true;
    // The question comes back at once, or once the message is read.
    start.hidden = !message.hidden;
    if (message.hidden) $("window").focus();
  }

  async function begin(args) {
    if (run) return;
    message.hidden = true;
    watch.state = "loading";
    watch.frames = 0;
    watch.checksum = "";
    watch.firstChecksums = [];
    watch.effect = "";
    watch.exitCode = null;
    watch.error = null;
    watch.log = [];
    try {
      await fetchFiles();
    } catch (error) {
      stage.hidden = true;
      start.hidden = true; // the question comes back once the message is read
      showStatus("");
      watch.state = "error";
      showMessage("halcyonvectrum", error.message);
      return;
    }
    const current = { keys: [], printed: [], lastPrinted: "", errorShown: false, module: null };
    run = current;
    current.module = {
      arguments: args,
      hvPage: pageFor(current),
      // The program compiled once; each run instantiates it afresh.
      instantiateWasm(imports, done) {
        WebAssembly.instantiate(program, imports).then((instance) => done(instance, program));
        return {};
      },
      getPreloadedPackage: () => content,
      print(line) {
        current.lastPrinted = line;
        console.log(line);
      },
      printErr(line) {
        current.printed.push(line);
        console.warn(line);
      },
      onExit: ended,
      onAbort(what) {
        current.errorShown = true;
        showMessage("halcyonvectrum", "The show stopped: " + what);
        ended(1);
      },
    };
    watch.state = "running";
    createHalcyonvectrum(current.module);
  }

  $("fullscreen").addEventListener("click", () => {
    start.hidden = true;
    stage.hidden = false;
    // Only a click may ask for the full screen; the show starts either way.
    enterFullscreen();
    begin(["--fullscreen", ...addressOptions()]);
  });
  $("window").addEventListener("click", () => {
    start.hidden = true;
    stage.hidden = false;
    begin(["--window", ...addressOptions()]);
  });
  $("cancel").addEventListener("click", () => {
    $("question").hidden = true;
    $("note").textContent = "halcyonvectrum was not started. Choose again when you like.";
    $("note").hidden = false;
  });
  $("message-ok").addEventListener("click", () => {
    message.hidden = true;
    if (!run && !captureMode) {
      watch.state = "start";
      start.hidden = false;
      stage.hidden = true;
      $("window").focus();
    }
  });

  if (captureMode) {
    start.hidden = true;
    stage.hidden = false;
    begin(["--capture", ...addressOptions()]);
  }
})();
