#pragma once
// What the stand-in browser shows of a page it navigated to: the text of a local page file,
// drawn plainly, so that a screenshot of its host shows the page's words. It fetches nothing:
// an http address is shown only from a folder of local pages that stands for the web
// (BROWSER_STANDIN_PAGES: <folder>\<host>\<path>), otherwise nothing.
#include <string>

// The local file an address shows ("" for none): a path, a file:/// address, or an http
// address under the pages folder (pagesFolder empty: none).
std::wstring StandInPageFile(const std::wstring& address, const std::wstring& pagesFolder);
// The visible text of an HTML page (UTF-8): the body's words, a line per block, entities
// decoded, head, script and style left out.
std::wstring StandInPageText(const std::string& html);
// Both: the text of the page an address shows, at most 256 KiB of it read.
std::wstring StandInPageTextOf(const std::wstring& address);
