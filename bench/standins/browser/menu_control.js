// A stand-in for the control that the context-menu page creates, for running the page's script
// under cscript after menu_window.js: the creation and every AddLink are echoed as one line.
function ActiveXObject(progId)
{
    WScript.Echo("create " + progId);
    this.AddLink = function (window, url, location, info) {
        WScript.Echo("AddLink " + (window === external.menuArguments ? "window" : "other") + " " + Show(url) +
                     " | " + Show(location) + " | " + Show(info));
    };
}
