// The WebAssembly comes inside the page as Base64. Where the browser decodes that itself, it
// does so many times faster than the runtime's loop, and the main window is drawn sooner.
// (The runtime's own decoder, by its name in Emscripten 3.1.)
if (typeof Uint8Array.fromBase64 == "function")
    intArrayFromBase64 = (text) => Uint8Array.fromBase64(text);
