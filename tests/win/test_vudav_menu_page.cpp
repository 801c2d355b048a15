// The context-menu page's own script, taken from resource 203 of the built library and run under
// cscript with stand-ins for the browser's menu arguments, document and elements.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "vudav_support.h"

namespace {

std::string Lines(std::string text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

struct PageCase {
    const char* name;
    const char* setup;     // builds the elements and external.menuArguments
    const char* expected;  // what the page did, one line a call
};

const PageCase kCases[] = {
    {"anchor menu over a link",
     "var link = new Element('A', {href: 'http://v.ku6.com/show/1.html', innerText: 'clip one'}, []);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 30, clientY: 40}, 30, 40, link, {},"
     " 'http://page/');",
     "point 30,40\ncreate Vudav.qelVudav\nAddLink window http://v.ku6.com/show/1.html | http://page/ | clip one\n"},
    {"anchor menu over a child of a link",
     "var bold = new Element('B', {innerText: 'one'}); var span = new Element('SPAN', {innerText: 'one'}, [bold]);"
     "var link = new Element('A', {href: 'http://v/2', innerText: 'clip one'}, [span]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 3, clientY: 4}, 3, 4, bold, {},"
     " 'http://page/');",
     "point 3,4\ncreate Vudav.qelVudav\nAddLink window http://v/2 | http://page/ | clip one\n"},
    {"anchor menu with no link",
     "var span = new Element('SPAN', {innerText: 'x'}); var body = new Element('BODY', {}, [span]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 3, clientY: 4}, 3, 4, span, {},"
     " 'http://page/');",
     "point 3,4\nalert Invalid url\n"},
    {"anchor menu with nothing under the pointer",
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 3, clientY: 4}, 3, 4, null, {},"
     " 'http://page/');",
     "point 3,4\nalert Invalid url\n"},
    {"unknown menu over a link",
     "var link = new Element('a', {href: 'http://v/3', innerText: 'three'}, []);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtUnknown', clientX: 0, clientY: 0}, 0, 0, link, {},"
     " 'http://page/');",
     "point 0,0\ncreate Vudav.qelVudav\nAddLink window http://v/3 | http://page/ | three\n"},
    {"unknown menu inside a link",
     "var img = new Element('IMG', {alt: 'pic'}); var link = new Element('A', {href: 'http://v/4', innerText: 'four'},"
     " [img]); var div = new Element('DIV', {}, [link]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtUnknown', clientX: 5, clientY: 6}, 5, 6, img, {},"
     " 'http://page/');",
     "point 5,6\ncreate Vudav.qelVudav\nAddLink window http://v/4 | http://page/ | four\n"},
    {"unknown menu over no link",
     "var p = new Element('P', {innerText: 'plain text'}); var body = new Element('BODY', {}, [p]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtUnknown', clientX: 5, clientY: 6}, 5, 6, p, {},"
     " 'http://page/');",
     "point 5,6\ncreate Vudav.qelVudav\nAddLink window (undefined) | http://page/ | plain text\n"},
    {"unknown menu with nothing under the pointer",
     "external.menuArguments = new MenuWindow({type: 'MenuExtUnknown', clientX: 5, clientY: 6}, 5, 6, null, {},"
     " 'http://page/');",
     "point 5,6\nalert Invalid url\n"},
    {"the page address field takes the location's place",
     "var link = new Element('A', {href: 'http://v/5', innerText: 'five'}, []);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 1, clientY: 2}, 1, 2, link,"
     " {FlashGet_down_pageurl: {value: 'http://real/page.html'}}, 'http://frame/');",
     "point 1,2\ncreate Vudav.qelVudav\nAddLink window http://v/5 | http://real/page.html | five\n"},
    {"image menu over an image inside a link",
     "var img = new Element('IMG', {alt: 'poster', src: 'http://i/p.jpg'});"
     "var link = new Element('A', {href: 'http://v/6', innerText: ''}, [img]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtImage', clientX: 7, clientY: 8}, 7, 8, img, {},"
     " 'http://page/');",
     "point 7,8\ncreate Vudav.qelVudav\nAddLink window http://v/6 | http://page/ | poster\n"},
    {"image menu over an image-map area",
     "var area = new Element('AREA', {href: 'http://v/7', alt: 'zone'}); var map = new Element('MAP', {}, [area]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtImage', clientX: 7, clientY: 8}, 7, 8, area, {},"
     " 'http://page/');",
     "point 7,8\ncreate Vudav.qelVudav\nAddLink window http://v/7 | http://page/ | zone\n"},
    {"image menu over an image with no link",
     "var img = new Element('IMG', {alt: 'poster'}); var body = new Element('BODY', {}, [img]);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtImage', clientX: 7, clientY: 8}, 7, 8, img, {},"
     " 'http://page/');",
     "point 7,8\nalert Invalid url\n"},
    {"another menu type",
     "var link = new Element('A', {href: 'http://v/8', innerText: 'eight'}, []);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtTable', clientX: 1, clientY: 1}, 1, 1, link, {},"
     " 'http://page/');",
     "point 1,1\n"},
    {"an event with no clientX",
     "var link = new Element('A', {href: 'http://v/9', innerText: 'nine'}, []);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', pointerX: 11, pointerY: 12}, 11, 12, link, {},"
     " 'http://page/');",
     "point 11,12\ncreate Vudav.qelVudav\nAddLink window http://v/9 | http://page/ | nine\n"},
    {"a link with an empty address",
     "var link = new Element('A', {href: '', innerText: 'empty'}, []);"
     "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 1, clientY: 1}, 1, 1, link, {},"
     " 'http://page/');",
     "point 1,1\n"},
};

}  // namespace

TEST(MenuPage, ScriptAnswersEachMenuAsExpected)
{
    std::string page = MenuPageScript();
    ASSERT_NE(page.find("OnContextMenu"), std::string::npos);
    std::string standIns =
        ReadWholeFile(MenuStandInPath(L"menu_window.js")) + ReadWholeFile(MenuStandInPath(L"menu_control.js"));
    ASSERT_FALSE(standIns.empty());
    std::wstring folder = FreshFolder(L"menu page");
    std::wstring script = folder + L"\\page.js";
    for (const PageCase& c : kCases) {
        ASSERT_TRUE(WriteWholeFile(script, standIns + "\n" + c.setup + "\n" + page + "\nWScript.Echo('end');\n"));
        ProgramRun run = Cscript(script, folder);
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(Lines(run.output), std::string(c.expected) + "end\n") << c.name;
    }
}
