#include "Brand.h"

#include <toml++/toml.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "DefaultBrand.h"
#include "gnFiles.h"

namespace {

enum class Kind { kText, kLines, kColour, kPicture, kPaper, kNumbers };

struct Entry {
    const char* key;
    Kind kind;
    int count;              // lists: entries required (0: one or more); tables: pages
    bool optional = false;  // a file made before the entry existed takes the built-in one
};

constexpr int kPage = -1;  // marks an array of page tables: title, text, picture each
constexpr size_t kBrandBytesMax = 1u << 20;  // a brand file is a page of text

// Every entry a brand file has, in the file's order.
const Entry kSchema[] = {
    {"sponsor", Kind::kText, 0},
    {"title", Kind::kText, 0},
    {"colours.background", Kind::kColour, 0},
    {"colours.background_bottom", Kind::kColour, 0},
    {"colours.panel", Kind::kColour, 0},
    {"colours.accent", Kind::kColour, 0},
    {"colours.glow", Kind::kColour, 0},
    {"colours.text", Kind::kColour, 0},
    {"colours.muted", Kind::kColour, 0},
    {"colours.ink", Kind::kColour, 0},
    {"pictures.logo", Kind::kPicture, 0},
    {"pictures.puzzle", Kind::kPicture, 0},
    {"start.presents", Kind::kText, 0},
    {"start.invitation", Kind::kText, 0},
    {"menu.tagline", Kind::kText, 0},
    {"menu.buttons", Kind::kLines, 7},
    {"menu.print", Kind::kText, 0, true},
    {"welcome.title", Kind::kText, 0},
    {"welcome.text", Kind::kText, 0},
    {"welcome.call", Kind::kText, 0},
    {"welcome.hint", Kind::kText, 0},
    {"rules.title", Kind::kText, 0},
    {"rules.items", Kind::kLines, 0},
    {"rules.keys", Kind::kText, 0},
    {"prizes", Kind::kText, 3 * kPage},
    {"sponsor_pages", Kind::kText, 2 * kPage},
    {"pages.prizes", Kind::kText, 0},
    {"pages.sponsor_pages", Kind::kText, 0},
    {"pages.marker", Kind::kText, 0, true},
    {"highscores.title", Kind::kText, 0},
    {"highscores.name", Kind::kText, 0},
    {"highscores.time", Kind::kText, 0},
    {"highscores.hint", Kind::kText, 0},
    {"board.release", Kind::kText, 0},
    {"board.corner", Kind::kText, 0},
    {"board.drag", Kind::kText, 0},
    {"board.time", Kind::kText, 0},
    {"record.title", Kind::kText, 0},
    {"record.text", Kind::kText, 0},
    {"record.help", Kind::kText, 0},
    {"record.hint", Kind::kText, 0},
    {"record.ok", Kind::kText, 0, true},
    {"complete.title", Kind::kText, 0},
    {"complete.text", Kind::kText, 0},
    {"complete.hint", Kind::kText, 0},
    {"credits.title", Kind::kText, 0},
    {"credits.text", Kind::kText, 0},
    {"certificate.heading", Kind::kText, 0},
    {"certificate.completed", Kind::kText, 0},
    {"certificate.minutes", Kind::kLines, 2},
    {"certificate.seconds", Kind::kLines, 2},
    {"certificate.duration", Kind::kText, 0},
    {"certificate.printed", Kind::kText, 0},
    {"certificate.claim", Kind::kText, 0},
    {"certificate.paper", Kind::kPaper, 0},
    {"certificate.check", Kind::kText, 0, true},
    {"page.language", Kind::kText, 0, true},
    {"page.loading", Kind::kText, 0, true},
    {"page.full_screen", Kind::kText, 0, true},
    {"page.print", Kind::kText, 0, true},
    {"page.close", Kind::kText, 0, true},
    {"page.ended", Kind::kText, 0, true},
    {"page.stopped", Kind::kText, 0, true},
    {"certificate.months", Kind::kLines, 12, true},
    {"certificate.days", Kind::kLines, 7, true},
    {"certificate.singular", Kind::kNumbers, 0, true},
    {"certificate.file", Kind::kText, 0, true},
    {"event.title", Kind::kText, 0, true},
    {"event.best", Kind::kText, 0, true},
    {"event.today", Kind::kText, 0, true},
    {"event.nobody", Kind::kText, 0, true},
    {"event.numbers", Kind::kText, 0, true},
    {"event.rounds", Kind::kText, 0, true},
    {"event.completed", Kind::kText, 0, true},
    {"event.per_hour", Kind::kText, 0, true},
    {"event.times", Kind::kText, 0, true},
    {"event.kiosk", Kind::kText, 0, true},
    {"event.name", Kind::kText, 0, true},
    {"event.time", Kind::kText, 0, true},
    {"event.offline", Kind::kText, 0, true},
    {"event.website", Kind::kText, 0, true},
    {"event.round", Kind::kText, 0, true},
    {"event.played", Kind::kText, 0, true},
    {"event.verified", Kind::kText, 0, true},
    {"event.not_verified", Kind::kText, 0, true},
    {"event.other_time", Kind::kText, 0, true},
    {"event.no_round", Kind::kText, 0, true},
    {"event.given_up", Kind::kText, 0, true},
};

// The path toml++ takes for an entry: "prizes.2.title" is "prizes[1].title".
std::string tomlPath(const std::string& key) {
    const size_t first = key.find('.'), second = key.find('.', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return key;
    const std::string page = key.substr(first + 1, second - first - 1);
    if (page.empty() || page.find_first_not_of("0123456789") != std::string::npos)
        return key;
    return key.substr(0, first) + "[" + std::to_string(std::stoi(page) - 1) + "]" +
           key.substr(second);
}

// The folder of a file, with its slash; "" for a file in the working directory.
std::string folderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

bool parseColour(const std::string& text, uint32_t& colour) {
    if (text.size() != 7 || text[0] != '#')
        return false;
    colour = 0;
    for (size_t i = 1; i < 7; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return false;
        colour = colour << 4 | static_cast<uint32_t>(digit);
    }
    return true;
}

// Every key the file holds that no entry has, by its dotted path.
void unknownKeys(const toml::table& table, const std::string& prefix,
                 const std::set<std::string>& known, std::vector<std::string>& found) {
    for (auto&& [key, node] : table) {
        const std::string path = prefix + std::string(key.str());
        if (known.count(path))
            continue;
        if (const toml::table* inner = node.as_table(); inner && prefix.empty())
            unknownKeys(*inner, path + ".", known, found);
        else
            found.push_back(path);
    }
}

}  // namespace

const char* const kBrandDrawings[] = {"solar panel", "power banks", "sun hat", "logo", nullptr};

bool Brand::isDrawing(const std::string& picture) {
    for (const char* const* d = kBrandDrawings; *d; ++d)
        if (picture == *d)
            return true;
    return false;
}

std::string Brand::line(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= ' ' && c != 0x7f) {
            out += static_cast<char>(c);
            continue;
        }
        char escaped[8];
        snprintf(escaped, sizeof escaped,
                 c == '\n'   ? "\\n"
                 : c == '\r' ? "\\r"
                 : c == '\t' ? "\\t"
                             : "\\x%02x",
                 c);
        out += escaped;
    }
    return out;
}

std::string Brand::shownValue(const std::string& key) const {
    if (texts.count(key))
        return "\"" + texts.at(key) + "\"";
    std::string shown;
    if (lists.count(key))
        for (const std::string& item : lists.at(key))
            shown += (shown.empty() ? "[\"" : ", \"") + item + "\"";
    if (numberLists.count(key))
        for (const int64_t n : numberLists.at(key))
            shown += (shown.empty() ? "[" : ", ") + std::to_string(n);
    return shown.empty() ? "[]" : shown + "]";
}

std::string Brand::where(const std::string& key) const {
    return name + ": " + shownKey(key);
}

std::string Brand::shownKey(const std::string& key) {
    // "prizes.2.title" is shown as the file reads: the second [[prizes]] page's title.
    std::string shown;
    size_t start = 0;
    for (size_t dot = key.find('.'); start <= key.size(); dot = key.find('.', start)) {
        const std::string part =
            key.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const bool number =
            !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
        shown += number ? "[" + part + "]" : (shown.empty() ? "" : ".") + part;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return shown;
}

std::vector<std::string> Brand::pictureFiles() const {
    std::vector<std::string> files;
    for (const auto& [key, value] : texts) {
        const bool picture = key.compare(0, 9, "pictures.") == 0 ||
                             (key.size() > 8 && key.compare(key.size() - 8, 8, ".picture") == 0);
        if (picture && !value.empty() && !isDrawing(value))
            files.push_back(value);
    }
    return files;
}

std::string Brand::markupText(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '&'   ? "&amp;"
               : c == '<' ? "&lt;"
               : c == '>' ? "&gt;"
               : c == '"' ? "&quot;"
                          : std::string(1, c);
    return out;
}

std::string Brand::jsonText(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
            char code[8];
            snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool Brand::read(const std::string& file, std::vector<std::string>& problems) {
    name = file.empty() ? "the built-in brand" : file;
    complete = false;
    const size_t before = problems.size();
    // Read only when it is a regular file: a pipe named as the brand would block for ever.
    std::string text = kDefaultBrand, why;
    if (!file.empty() && !gnReadFile(file.c_str(), kBrandBytesMax, text, why)) {
        problems.push_back(name + ": cannot read it (" + why + ")");
        return false;
    }
    source = text;
    toml::table root;
    try {
        root = toml::parse(std::string_view(text), std::string_view(name));
    } catch (const toml::parse_error& e) {
        const toml::source_position at = e.source().begin;
        problems.push_back(
            name +
            (at.line ? ":" + std::to_string(at.line) + ":" + std::to_string(at.column) : "") +
            ": " + std::string(e.description()));
        return false;
    }
    // Pictures are found beside the brand file itself, also through a link to it.
    char* real = file.empty() ? nullptr : realpath(file.c_str(), nullptr);
    const std::string folder = real ? folderOf(real) : file.empty() ? "" : folderOf(file);
    free(real);
    std::set<std::string> known;
    const auto problem = [&](const std::string& key, const std::string& what) {
        problems.push_back(where(key) + ": " + what);
    };
    toml::table builtIn = toml::parse(std::string_view(kDefaultBrand));
    // One entry: a text, a list, a colour, a picture or the paper; false, with the problem,
    // when the node is none of what the entry takes.
    const auto take = [&](const std::string& key, Kind kind, int count,
                          toml::node_view<toml::node> node, bool quiet) {
        const auto bad = [&](const std::string& what) {
            if (!quiet)
                problem(key, what);
            return false;
        };
        if (!node)
            return bad("missing");
        if (kind == Kind::kLines) {
            const toml::array* array = node.as_array();
            std::vector<std::string> lines;
            for (size_t i = 0; array && i < array->size(); ++i)
                if (auto line = array->get(i)->value<std::string>())
                    lines.push_back(*line);
            if (!array || lines.size() != array->size() || lines.empty())
                return bad("a list of texts in brackets, [\"...\", \"...\"], is expected");
            if (count && static_cast<int>(lines.size()) != count)
                return bad(std::to_string(lines.size()) + " texts, " + std::to_string(count) +
                           " are expected");
            lists[key] = lines;
            return true;
        }
        if (kind == Kind::kNumbers) {
            const toml::array* array = node.as_array();
            std::vector<int64_t> values;
            for (size_t i = 0; array && i < array->size(); ++i)
                if (auto n = array->get(i)->value<int64_t>())
                    values.push_back(*n);
            if (!array || values.size() != array->size())
                return bad("a list of whole numbers in brackets, [0, 1], is expected");
            numberLists[key] = values;
            return true;
        }
        const auto value = node.value<std::string>();
        if (!value)
            return bad("a text in quotes is expected");
        uint32_t colour = 0;
        if (kind == Kind::kColour && !parseColour(*value, colour))
            return bad("\"" + *value + "\" is no colour: write \"#RRGGBB\"");
        if (kind == Kind::kPaper && *value != "A4" && *value != "Letter")
            return bad("\"" + *value + "\" is no paper size: write \"A4\" or \"Letter\"");
        colours[key] = colour;
        const bool isFile = kind == Kind::kPicture && !value->empty() && !isDrawing(*value);
        texts[key] = isFile && (*value)[0] != '/' ? folder + *value : *value;
        return true;
    };
    // An entry the file lacks or gets wrong takes the built-in brand's value, so that the
    // rest can still be drawn and every problem of the file told in one run. An optional one
    // (newer than files made before it) is no problem: a note says what is drawn.
    const auto entry = [&](const std::string& key, Kind kind, int count, bool optional,
                           toml::node_view<toml::node> node) {
        if (!node && optional) {
            take(key, kind, count, builtIn.at_path(tomlPath(key)), true);
            notes.push_back(where(key) + ": not in the file; the built-in " + shownValue(key) +
                            " stands in");
        } else if (!take(key, kind, count, node, false)) {
            take(key, kind, count, builtIn.at_path(tomlPath(key)), true);
        }
    };
    for (const Entry& e : kSchema) {
        const std::string key = e.key;
        known.insert(key);
        if (e.count >= 0) {
            entry(key, e.kind, e.count, e.optional, root.at_path(key));
            continue;
        }
        toml::array* pages = root[key].as_array();
        const int wanted = -e.count;
        const bool whole =
            pages && pages->is_array_of_tables() && static_cast<int>(pages->size()) == wanted;
        if (!whole)
            problem(key, std::to_string(wanted) + " pages are expected, each [[" + key +
                             "]] with a title, a text and a picture");
        for (int page = 1; page <= wanted; ++page) {
            toml::table* table =
                whole ? pages->get(static_cast<size_t>(page - 1))->as_table() : nullptr;
            const std::string prefix = key + "." + std::to_string(page) + ".";
            for (const char* part : {"title", "text", "picture"}) {
                const Kind kind = std::string(part) == "picture" ? Kind::kPicture : Kind::kText;
                if (table)
                    entry(prefix + part, kind, 0, false,
                          toml::node_view<toml::node>(table->get(part)));
                else  // the pages are wrong, as said: the built-in ones stand in
                    take(prefix + part, kind, 0, builtIn.at_path(tomlPath(prefix + part)), true);
            }
            for (auto&& [inner, node] : table ? *table : toml::table())
                if (inner != "title" && inner != "text" && inner != "picture")
                    problem(prefix + std::string(inner.str()), "unknown entry");
        }
    }
    std::vector<std::string> unknown;
    unknownKeys(root, "", known, unknown);
    for (const std::string& key : unknown)
        problem(key, "unknown entry");
    complete = true;
    return problems.size() == before;
}
