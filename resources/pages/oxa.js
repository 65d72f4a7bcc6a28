// Page functions shared by every page of the program, and the bridge that hands
// clicks on the program's own "mmpp://" links to the host program.

// The name of the page as the host last set it; the host reads it back to know
// which page is shown.
var oxaPageName = "No Name";

function ScrollToTop() {
  window.scrollTo(0, 0);
}

// Installed as window.onerror: returning true marks a script error as handled,
// so the browser reports nothing.
function blockError() {
  return true;
}

function trim(text) {
  if (text === undefined || text === null) {
    return "";
  }
  return String(text).replace(/^\s+|\s+$/g, "");
}

function SetWhoAmI(name) {
  oxaPageName = (name === undefined || name === null) ? "" : String(name);
}

function WhoAmI() {
  return oxaPageName;
}

// Link bridge. The host cannot take these links from a navigation request
// because "mmpp://0=4E2D" is no valid URL, so the click is stopped here and the
// href exactly as written in the page goes to window.quillory.openLink(text).
// The host's QWebChannel set-up defines window.quillory at any time; until it
// does, or in a plain browser, clicked links are kept in window.pendingLinks.
(function () {
  if (window.oxaLinkBridgeInstalled) {
    return;
  }
  window.oxaLinkBridgeInstalled = true;
  if (!Array.isArray(window.pendingLinks)) {
    window.pendingLinks = [];
  }

  var PREFIX = "mmpp://";

  // The program's link text of the <a> around the event target, or null for
  // any other element or link. White space around the href is dropped, as a
  // browser drops it before following a link.
  function programLink(target) {
    var node = target;
    while (node && node.nodeType !== 1) {
      node = node.parentNode;  // text nodes and the like
    }
    var anchor = node && typeof node.closest === "function" ? node.closest("a") : null;
    if (!anchor || !anchor.hasAttribute("href")) {
      return null;
    }
    var href = anchor.getAttribute("href").replace(/^\s+|\s+$/g, "");
    if (href.substring(0, PREFIX.length).toLowerCase() !== PREFIX) {
      return null;
    }
    return href;
  }

  function deliver(text) {
    var host = window.quillory;
    if (host && typeof host.openLink === "function") {
      try {
        host.openLink(text);
        return;
      } catch (e) {
        // Fall through: keep the link rather than lose it.
      }
    }
    window.pendingLinks.push(text);
  }

  document.addEventListener("click", function (event) {
    var link = programLink(event.target);
    if (link === null) {
      return;
    }
    event.preventDefault();
    event.stopPropagation();
    deliver(link);
  }, true);

  // A middle click would open the link in a new window: stop it without
  // running the command.
  document.addEventListener("auxclick", function (event) {
    if (programLink(event.target) !== null) {
      event.preventDefault();
      event.stopPropagation();
    }
  }, true);
})();
