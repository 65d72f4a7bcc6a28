// Falling images: layout() places copies of an image at random points of the
// window, fly() lets them drift down and sway, and starts them again at the top
// when they leave the bottom.
//
// Every copy is found again by its id on each step, so the animation goes on
// when the host rewrites the body (which re-creates the elements) and simply
// pauses while the copies are gone.

var flyCount = 0;
var flyX = [];      // position in the window, pixels
var flyY = [];
var flySpeed = [];  // pixels per step
var flyPhase = [];  // sway phase, radians
var flyStep = [];   // sway phase advance per step
var flyTimer = null;

var FLY_ID_PREFIX = "oxaFly";
var FLY_TOP = -60;
var FLY_INTERVAL_MS = 115;

function flyWindowWidth() {
  return window.innerWidth || document.documentElement.clientWidth || 0;
}

function flyWindowHeight() {
  return window.innerHeight || document.documentElement.clientHeight || 0;
}

// A random left edge that keeps most of the image inside the window.
function flyRandomX() {
  return Math.random() * Math.max(flyWindowWidth() - 50, 0);
}

function flyPlace(element, i) {
  element.style.left = Math.round(flyX[i]) + "px";
  element.style.top = Math.round(flyY[i]) + "px";
}

function layout(amount, image) {
  var parent = document.body || document.documentElement;
  flyCount = Math.max(0, Math.floor(Number(amount)) || 0);
  flyX = [];
  flyY = [];
  flySpeed = [];
  flyPhase = [];
  flyStep = [];
  for (var i = 0; i < flyCount; ++i) {
    flyX.push(flyRandomX());
    flyY.push(Math.random() * flyWindowHeight());
    flySpeed.push(3 + 5 * Math.random());
    flyPhase.push(0);
    flyStep.push(0.05 + 0.1 * Math.random());

    var old = document.getElementById(FLY_ID_PREFIX + i);
    if (old && old.parentNode) {
      old.parentNode.removeChild(old);
    }
    var img = document.createElement("img");
    img.id = FLY_ID_PREFIX + i;
    img.src = image;
    img.alt = "";
    // Fixed positioning keeps the copies out of the page's scroll size, and
    // they let clicks through to the links under them.
    img.style.position = "fixed";
    img.style.zIndex = "1";
    img.style.pointerEvents = "none";
    flyPlace(img, i);
    parent.appendChild(img);
  }
}

function fly() {
  var height = flyWindowHeight();
  for (var i = 0; i < flyCount; ++i) {
    flyY[i] += flySpeed[i];
    flyX[i] += flySpeed[i] * Math.cos(flyPhase[i]);
    flyPhase[i] += flyStep[i];
    if (flyY[i] > height) {
      flyY[i] = FLY_TOP;
      flyX[i] = flyRandomX();
      flySpeed[i] = 3 + 5 * Math.random();
    }
    var element = document.getElementById(FLY_ID_PREFIX + i);
    if (element) {
      flyPlace(element, i);
    }
  }
  // One timer only, however often fly() is called.
  if (flyTimer !== null) {
    clearTimeout(flyTimer);
  }
  flyTimer = setTimeout(fly, FLY_INTERVAL_MS);
}
