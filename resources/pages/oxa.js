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

  // Lists of characters are plain text in an element of class "chars"; a
  // click on one of its characters opens it as the link "mmpp://0=HEX"
  // would. The character hit is the one whose box holds the point, on
  // either side of the caret position nearest to it.
  function characterAt(x, y) {
    var range = document.caretRangeFromPoint ? document.caretRangeFromPoint(x, y) : null;
    var node = range ? range.startContainer : null;
    if (!node || node.nodeType !== 3 || !node.parentNode || !node.parentNode.closest(".chars")) {
      return null;
    }
    var text = node.data;
    var starts = [range.startOffset - 2, range.startOffset - 1, range.startOffset];
    for (var i = 0; i < starts.length; ++i) {
      var start = starts[i];
      if (start < 0 || start >= text.length) {
        continue;
      }
      var unit = text.charCodeAt(start);
      var code = text.codePointAt(start);
      if ((unit >= 0xDC00 && unit <= 0xDFFF) || code <= 0xFF) {
        continue;  // the second half of a pair, a blank
      }
      var box = document.createRange();
      box.setStart(node, start);
      box.setEnd(node, start + (code > 0xFFFF ? 2 : 1));
      var rect = box.getBoundingClientRect();
      if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) {
        return {node: node, start: start, code: code, length: code > 0xFFFF ? 2 : 1};
      }
    }
    return null;
  }

  function characterLink(event) {
    if (typeof event.clientX !== "number") {
      return null;
    }
    var hit = characterAt(event.clientX, event.clientY);
    return hit ? PREFIX + "0=" + hit.code.toString(16).toUpperCase() : null;
  }

  // The character under the pointer turns red as a link does, inside an
  // element of class "hover" that is taken out again when the pointer leaves.
  var hovered = null;
  function unhover() {
    if (hovered && hovered.parentNode) {
      var parent = hovered.parentNode;
      parent.replaceChild(document.createTextNode(hovered.textContent), hovered);
      parent.normalize();
    }
    hovered = null;
  }
  document.addEventListener("mousemove", function (event) {
    var hit = characterAt(event.clientX, event.clientY);
    if (hit && hovered && hit.node.parentNode === hovered) {
      return;
    }
    unhover();
    if (hit) {
      var rest = hit.node.splitText(hit.start);
      rest.splitText(hit.length);
      hovered = document.createElement("span");
      hovered.className = "hover";
      rest.parentNode.replaceChild(hovered, rest);
      hovered.appendChild(rest);
    }
  }, true);
  document.addEventListener("mouseleave", unhover, true);

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
      link = characterLink(event);
    }
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
    if (programLink(event.target) !== null || characterLink(event) !== null) {
      event.preventDefault();
      event.stopPropagation();
    }
  }, true);
})();
