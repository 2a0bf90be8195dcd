// page.js: the page side of the browser build (loaded before the program): canvases,
// overlays for message boxes and the closing screen, full screen, the MP3 decoded and
// played through Web Audio, the clock, pictures decoded by the browser, and the frames
// and report that test runs hand to the test server.
var LandscapePage = {
  mode: 0,  // 0 play, 1 test, 2 timing (WebMode)
  report: {boxes: [], frames: 0, log: []},
  started: null,  // performance.now() of the start click (or of the timing run's own answer)

  element(id) { return document.getElementById(id); },

  // ---- Start, problems, end ----------------------------------------------------

  start(mode) {
    this.startedAt = performance.now();
    this.mode = mode;
    this.report.mode = ['play', 'test', 'timing'][mode];
    this.setStatus('');
    this.audioContext();
    this.decodeAllTracks();
  },

  setStatus(text) {
    const status = this.element('status');
    if (status) status.textContent = text;
  },

  // Called before start() when the address is refused: a test server may still be waiting.
  problem(text) {
    this.report.problem = text;
    this.showPanel('Brumlys\' Landscape', text, []);
    if (/[?&](test|timing)(&|$)/.test(location.search)) {
      fetch('/report', {method: 'POST', body: JSON.stringify(this.report)}).catch(() => {});
    }
  },

  finish(exitCode) {
    this.report.exitCode = exitCode;
    this.exitFullScreen();
    if (this.mode !== 0) {
      this.post('/report', JSON.stringify(this.report));
      return;
    }
    // A demo that never drew has ended on one of its own error boxes.
    const text = this.report.framesDrawn ? 'The end. Thanks for watching.'
                                         : 'The demo could not start in this browser; it needs WebGL 2.';
    this.showPanel('Brumlys\' Landscape', text, [{label: 'Play again', action: () => location.reload()}]);
  },

  // Test and timing runs hand their results to the server that serves the page.
  post(path, body) {
    if (this.mode === 0) return Promise.resolve();
    return fetch(path, {method: 'POST', body: body}).catch(() => {});
  },

  // ---- Overlays ------------------------------------------------------------------

  // A panel over the stage with a heading, a text and buttons; returns its element.
  showPanel(heading, text, buttons, extraClass) {
    this.removePanel();
    const panel = document.createElement('div');
    panel.id = 'panel';
    panel.className = 'panel' + (extraClass ? ' ' + extraClass : '');
    const box = document.createElement('div');
    box.className = 'box';
    const title = document.createElement('h1');
    title.textContent = heading;
    const body = document.createElement('p');
    body.textContent = text;
    box.append(title, body);
    const row = document.createElement('div');
    row.className = 'buttons';
    for (const button of buttons) {
      const element = document.createElement('button');
      element.textContent = button.label;
      element.addEventListener('click', button.action);
      row.append(element);
    }
    box.append(row);
    panel.append(box);
    document.body.append(panel);
    const first = row.querySelector('button');
    if (first) first.focus();
    return panel;
  },

  removePanel() {
    const panel = this.element('panel');
    if (panel) panel.remove();
  },

  recordBox(text, caption) { this.report.boxes.push(caption + ': ' + text); },

  // A modal message box; resolves to the Win32 answer. The full-screen question is
  // the page's start: its click may take the page full screen and starts the sound.
  showBox(text, caption, flags, fullScreenQuestion) {
    const IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;
    if (fullScreenQuestion && this.mode === 2) {
      this.started = performance.now();
      this.resumeAudio();
      return Promise.resolve(IDYES);
    }
    const kinds = {
      0: [['OK', IDOK]],
      1: [['OK', IDOK], ['Cancel', IDCANCEL]],
      3: [['Yes', IDYES], ['No', IDNO], ['Cancel', IDCANCEL]],
      4: [['Yes', IDYES], ['No', IDNO]],
    };
    let buttons = kinds[flags & 0x0F] || kinds[0];
    let heading = caption;
    let message = text;
    if (fullScreenQuestion) {
      // Either way the demo goes on, in the page or full screen.
      heading = document.title;
      message = 'Full screen?';
      buttons = [['Yes', IDYES, true], ['No', IDYES, false]];
    }
    const escapeAnswer = buttons.length === 1 ? buttons[0][1] : buttons[buttons.length - 1][1];
    return new Promise((resolve) => {
      let done = false;
      const answer = async (value, fullScreen) => {
        if (done) return;
        done = true;
        document.removeEventListener('keydown', onKey, true);
        if (fullScreenQuestion) {
          if (fullScreen) this.requestFullScreen(); else this.exitFullScreen();
          if (this.started === null) this.started = performance.now();
        }
        const resumed = this.resumeAudio();  // inside the gesture
        this.removePanel();
        await resumed;
        resolve(value);
      };
      const onKey = (event) => {
        if (event.key === 'Enter') answer(buttons[0][1], buttons[0][2]);
        else if (event.key === 'Escape') answer(escapeAnswer, false);
        else return;
        event.preventDefault();
      };
      document.addEventListener('keydown', onKey, true);
      this.showPanel(heading, message,
                     buttons.map(([label, value, fullScreen]) => ({label, action: () => answer(value, fullScreen)})),
                     fullScreenQuestion ? 'start' : '');
    });
  },

  // ---- Canvases ------------------------------------------------------------------

  canvas(id) { return this.element('landscape-' + id); },

  createCanvas(id, width, height, title) {
    const stage = this.element('stage');
    if (!stage) return false;
    const canvas = document.createElement('canvas');
    canvas.id = 'landscape-' + id;
    canvas.width = width;
    canvas.height = height;
    canvas.hidden = true;
    canvas.tabIndex = -1;
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    stage.append(canvas);
    document.title = title;
    return true;
  },

  showCanvas(id) {
    const canvas = this.canvas(id);
    if (!canvas) return;
    canvas.hidden = false;
    canvas.focus();
  },

  removeCanvas(id) {
    const canvas = this.canvas(id);
    if (!canvas) return;
    // Hand the GPU memory back now rather than whenever the collector runs.
    const gl = canvas.getContext('webgl2');
    const lose = gl && gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    canvas.remove();
  },

  showCursor(show) { document.body.classList.toggle('no-cursor', !show); },

  // ---- Full screen ---------------------------------------------------------------

  fullScreenElement() { return document.fullscreenElement || document.webkitFullscreenElement || null; },

  // Starts the request; must run inside a gesture. The whole page goes full screen, so
  // that the message boxes over the stage show there too.
  requestFullScreen() {
    const page = document.documentElement;
    const request = page.requestFullscreen || page.webkitRequestFullscreen;
    if (!request) return Promise.resolve(false);
    try {
      return Promise.resolve(request.call(page)).then(() => true, () => false);
    } catch (error) {
      return Promise.resolve(false);
    }
  },

  async enterFullScreen() {
    if (this.fullScreenElement()) return true;
    // Without a fresh gesture the browser refuses (and complains); do not even ask.
    if (navigator.userActivation && !navigator.userActivation.isActive) return false;
    return await this.requestFullScreen();
  },

  exitFullScreen() {
    if (!this.fullScreenElement()) return;
    const exit = document.exitFullscreen || document.webkitExitFullscreen;
    if (exit) Promise.resolve(exit.call(document)).catch(() => {});
  },

  // ---- Frames --------------------------------------------------------------------

  frameChannel: null,

  // Play: the next animation frame. Test runs only let the page breathe.
  nextFrame() {
    const now = performance.now();
    if (this.report.framesDrawn === undefined) {
      this.report.framesDrawn = 0;
      this.report.startupMs = Math.round(now - this.startedAt);
      this.firstSwapAt = now;
    }
    this.report.framesDrawn++;
    this.report.drawingMs = Math.round(now - this.firstSwapAt);
    if (this.mode !== 1) return new Promise((resolve) => requestAnimationFrame(() => resolve()));
    if (!this.frameChannel) this.frameChannel = new MessageChannel();
    return new Promise((resolve) => {
      this.frameChannel.port1.onmessage = () => resolve();
      this.frameChannel.port2.postMessage(0);
    });
  },

  // A test run's scripted key, delivered as the browser delivers a real one.
  dispatchKey(code, key, down) {
    window.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup',
                                           {code: code, key: key, bubbles: true, cancelable: true}));
  },

  // Reads the frame just drawn (before the browser clears it) and posts it, bottom
  // row first, as raw RGBA.
  async sendFrame(id, wanted, shown) {
    const canvas = this.canvas(id);
    const gl = canvas && canvas.getContext('webgl2');
    if (!gl) return;
    const pixels = new Uint8Array(canvas.width * canvas.height * 4);
    const framebuffer = gl.getParameter(gl.FRAMEBUFFER_BINDING);
    const packBuffer = gl.getParameter(gl.PIXEL_PACK_BUFFER_BINDING);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    gl.bindBuffer(gl.PIXEL_PACK_BUFFER, null);
    gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.bindBuffer(gl.PIXEL_PACK_BUFFER, packBuffer);
    this.report.frames++;
    await this.post('/frame?t=' + wanted + '&shown=' + shown + '&w=' + canvas.width + '&h=' + canvas.height,
                    pixels);
  },

  // Timing runs: true once enough frames have been seen after the start.
  timingFrame() {
    const now = performance.now();
    if (this.report.firstFrameMs === undefined) {
      this.report.firstFrameMs = Math.round(now - this.started);
      this.firstFrameAt = now;
    }
    this.report.frames++;
    const seconds = (now - this.firstFrameAt) / 1000;
    if (seconds < 3) return false;
    this.report.framesPerSecond = Math.round(10 * (this.report.frames - 1) / seconds) / 10;
    this.report.clock = this.clock.anchorAudio !== null ? 'audio' : 'performance';
    this.report.audioState = this.audio.context ? this.audio.context.state : 'none';
    return true;
  },

  // ---- Clock ---------------------------------------------------------------------

  // Milliseconds. While the music plays on a running audio context the clock is the
  // position of what is heard (anchored where the track started), so picture and
  // sound stay together even when one of them stalls; otherwise it runs on the
  // performance clock, continuing from where it was.
  clock: {value: 0, perf: null, anchorTick: 0, anchorAudio: null},

  heardTime(context) {
    if (context.getOutputTimestamp) {
      const stamp = context.getOutputTimestamp();
      if (stamp.performanceTime > 0) {
        return stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
      }
    }
    return context.currentTime - (context.outputLatency || context.baseLatency || 0);
  },

  ticks() {
    const clock = this.clock;
    const context = this.audio.context;
    const perf = performance.now();
    let value;
    if (clock.anchorAudio !== null && context && context.state === 'running') {
      value = clock.anchorTick + Math.max(0, this.heardTime(context) - clock.anchorAudio) * 1000;
    } else {
      clock.anchorAudio = null;  // the sound stopped: the clock goes on without it
      value = clock.value + (clock.perf === null ? 0 : perf - clock.perf);
    }
    clock.value = Math.max(clock.value, value);
    clock.perf = perf;
    return Math.floor(clock.value);
  },

  // ---- Music ---------------------------------------------------------------------

  audio: {context: null, decoding: {}, tracks: {}, nextTrack: 1},

  audioContext() {
    const audio = this.audio;
    if (!audio.context) {
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return null;
      try {
        audio.context = new Context({latencyHint: 'interactive'});
      } catch (error) {
        return null;
      }
    }
    return audio.context;
  },

  // Browsers start sound only after a gesture: called inside one. Resolves once the
  // context runs (or after a second, when it will not).
  resumeAudio() {
    const context = this.audio.context;
    if (!context || context.state === 'running') return Promise.resolve();
    const resumed = context.resume().catch(() => {});
    return Promise.race([resumed, new Promise((resolve) => setTimeout(resolve, 1000))]);
  },

  // Starts decoding every MP3 of the data while the page waits for its start click.
  decodeAllTracks() {
    const visit = (path) => {
      let names;
      try {
        names = FS.readdir(path);
      } catch (error) {
        return;
      }
      for (const name of names) {
        if (name === '.' || name === '..' || path === '/' && ['dev', 'proc', 'tmp'].includes(name)) continue;
        const full = (path === '/' ? '' : path) + '/' + name;
        if (FS.isDir(FS.stat(full).mode)) visit(full);
        else if (/\.mp3$/i.test(name)) this.decodeTrack(full);
      }
    };
    if (this.audioContext()) visit('/');
  },

  // The decoded AudioBuffer of a file (cached by its absolute path), or null.
  decodeTrack(path) {
    const audio = this.audio;
    let absolute;
    try {
      absolute = FS.lookupPath(path).path;
    } catch (error) {
      return Promise.resolve(null);
    }
    if (!(absolute in audio.decoding)) {
      const bytes = FS.readFile(absolute);
      audio.decoding[absolute] = audio.context.decodeAudioData(bytes.buffer.slice(0))
          .then((buffer) => {
            this.report.trackSeconds = Math.round(buffer.duration * 100) / 100;
            return buffer;
          })
          .catch(() => null);
    }
    return audio.decoding[absolute];
  },

  async openTrack(path) {
    if (!this.audioContext()) return 0;
    const buffer = await this.decodeTrack(path);
    if (!buffer) return 0;
    const id = this.audio.nextTrack++;
    this.audio.tracks[id] = {buffer: buffer, source: null};
    return id;
  },

  playTrack(id) {
    const track = this.audio.tracks[id];
    const context = this.audio.context;
    if (!track || !context) return;
    this.stopTrack(id);
    const source = context.createBufferSource();
    source.buffer = track.buffer;
    source.connect(context.destination);
    source.onended = () => {
      if (track.source === source) track.source = null;
    };
    source.start();
    track.source = source;
    if (context.state === 'running') {
      this.clock.anchorTick = this.ticks();
      this.clock.anchorAudio = context.currentTime;  // the first sample plays from here
    }
  },

  stopTrack(id) {
    const track = this.audio.tracks[id];
    if (!track || !track.source) return;
    const source = track.source;
    track.source = null;
    try {
      source.stop();
    } catch (error) {
      // never started
    }
    source.disconnect();
  },

  closeTrack(id) {
    this.stopTrack(id);
    delete this.audio.tracks[id];
  },

  trackPlaying(id) { return !!(this.audio.tracks[id] && this.audio.tracks[id].source); },

  // ---- Pictures ------------------------------------------------------------------

  readback: null,

  // {width, height, rgba} with the file's own bytes, top row first; null when the
  // browser cannot decode it.
  async decodeImage(bytes, type) {
    let bitmap;
    try {
      bitmap = await createImageBitmap(new Blob([bytes], {type: type}),
                                       {premultiplyAlpha: 'none', colorSpaceConversion: 'none'});
    } catch (error) {
      return null;
    }
    const width = bitmap.width, height = bitmap.height;
    const rgba = this.readImage(bitmap, width, height);
    bitmap.close();
    return rgba ? {width: width, height: height, rgba: rgba} : null;
  },

  // WebGL uploads without premultiplying or converting colours, so reading the
  // texture back gives the decoded bytes exactly.
  readImage(bitmap, width, height) {
    if (!this.readback) this.readback = document.createElement('canvas').getContext('webgl2');
    const gl = this.readback;
    if (!gl) return null;
    const texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.pixelStorei(gl.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
    gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.NONE);
    gl.pixelStorei(gl.UNPACK_FLIP_Y_WEBGL, false);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, gl.RGBA, gl.UNSIGNED_BYTE, bitmap);
    const framebuffer = gl.createFramebuffer();
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
    let rgba = null;
    if (gl.checkFramebufferStatus(gl.FRAMEBUFFER) === gl.FRAMEBUFFER_COMPLETE) {
      rgba = new Uint8Array(width * height * 4);
      gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    }
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    gl.deleteFramebuffer(framebuffer);
    gl.deleteTexture(texture);
    return rgba;
  },
};

// Emscripten's own preload decoders would decode every picture and sound up front
// through elements; the program asks for what it needs itself.
Module['noImageDecoding'] = true;
Module['noAudioDecoding'] = true;
Module['setStatus'] = (text) => LandscapePage.setStatus(text);
Module['printErr'] = (text) => {
  console.error(text);
  if (LandscapePage.report.log.length < 100) LandscapePage.report.log.push(text);
};
