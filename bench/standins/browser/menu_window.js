// Stand-ins for what the browser hands the context-menu page, for running the page's script under
// cscript: external.menuArguments (the page's window with its event, document and location),
// elements and alert. Every call the page makes is echoed as one line. menu_control.js adds a
// stand-in for the control; without it the page creates the registered control.
function Show(value)
{
    if (typeof(value) == "undefined")
        return "(undefined)";
    if (value === null)
        return "(null)";
    return String(value);
}

function alert(text)
{
    WScript.Echo("alert " + Show(text));
}

// An element with its tag name and properties; each child's parentElement is set to it.
function Element(tagName, properties, children)
{
    this.tagName = tagName;
    this.parentElement = null;
    for (var name in properties)
        this[name] = properties[name];
    if (children)
        for (var i = 0; i < children.length; i++)
            children[i].parentElement = this;
}

// The window the menu was opened on: its event, the element at (x, y), the elements by id and the
// page's address.
function MenuWindow(event, x, y, atPoint, byId, location)
{
    this.event = event;
    this.location = location;
    this.document = {
        elementFromPoint: function (px, py) {
            WScript.Echo("point " + px + "," + py);
            return (px == x && py == y) ? atPoint : null;
        },
        getElementById: function (id) {
            return byId[id] ? byId[id] : null;
        }
    };
}

var external = {};
