#include "Brand.h"

#include <toml++/toml.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "DefaultBrand.h"
#include "gnFiles.h"

namespace {

enum class Kind { kText, kLines, kColour, kPicture, kPaper };

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
};

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

bool Brand::read(const std::string& file, std::vector<std::string>& problems) {
    name = file.empty() ? "the built-in brand" : file;
    const size_t before = problems.size();
    // Read only when it is a regular file: a pipe named as the brand would block for ever.
    std::string text = kDefaultBrand, why;
    if (!file.empty() && !gnReadFile(file.c_str(), kBrandBytesMax, text, why)) {
        problems.push_back(name + ": cannot read it (" + why + ")");
        return false;
    }
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
    // An entry a file made before it existed does not have: the built-in brand's.
    toml::table builtIn;
    const auto fallback = [&](const std::string& key) {
        if (builtIn.empty())
            builtIn = toml::parse(std::string_view(kDefaultBrand));
        const toml::node_view<toml::node> node = builtIn.at_path(key);
        notes.push_back(where(key) + ": not in the file; drawn as \"" +
                        node.value_or(std::string()) + "\"");
        return node;
    };
    // One entry: a text, a list, a colour, a picture or the paper.
    const auto take = [&](const std::string& key, Kind kind, int count, bool optional,
                          toml::node_view<toml::node> node) {
        if (!node && optional)
            node = fallback(key);
        if (!node) {
            problem(key, "missing");
        } else if (kind == Kind::kLines) {
            const toml::array* array = node.as_array();
            std::vector<std::string> lines;
            for (size_t i = 0; array && i < array->size(); ++i)
                if (auto line = array->get(i)->value<std::string>())
                    lines.push_back(*line);
            if (!array || lines.size() != array->size() || lines.empty())
                problem(key, "a list of texts in brackets, [\"...\", \"...\"], is expected");
            else if (count && static_cast<int>(lines.size()) != count)
                problem(key, std::to_string(lines.size()) + " texts, " + std::to_string(count) +
                                 " are expected");
            lists[key] = lines;
        } else if (auto value = node.value<std::string>()) {
            uint32_t colour = 0;
            if (kind == Kind::kColour && !parseColour(*value, colour))
                problem(key, "\"" + *value + "\" is no colour: write \"#RRGGBB\"");
            else if (kind == Kind::kPaper && *value != "A4" && *value != "Letter")
                problem(key, "\"" + *value + "\" is no paper size: write \"A4\" or \"Letter\"");
            colours[key] = colour;
            const bool isFile = kind == Kind::kPicture && !value->empty() && !isDrawing(*value);
            texts[key] = isFile && (*value)[0] != '/' ? folder + *value : *value;
        } else {
            problem(key, "a text in quotes is expected");
        }
    };
    for (const Entry& entry : kSchema) {
        const std::string key = entry.key;
        known.insert(key);
        if (entry.count >= 0) {
            take(key, entry.kind, entry.count, entry.optional, root.at_path(key));
            continue;
        }
        toml::array* pages = root[key].as_array();
        const int wanted = -entry.count;
        if (!pages || !pages->is_array_of_tables() || static_cast<int>(pages->size()) != wanted) {
            problem(key, std::to_string(wanted) + " pages are expected, each [[" + key +
                             "]] with a title, a text and a picture");
            continue;
        }
        for (int page = 1; page <= wanted; ++page) {
            toml::table& table = *pages->get(static_cast<size_t>(page - 1))->as_table();
            const std::string prefix = key + "." + std::to_string(page) + ".";
            for (const char* part : {"title", "text", "picture"})
                take(prefix + part, std::string(part) == "picture" ? Kind::kPicture : Kind::kText,
                     0, false, toml::node_view<toml::node>(table.get(part)));
            for (auto&& [inner, node] : table)
                if (inner != "title" && inner != "text" && inner != "picture")
                    problem(prefix + std::string(inner.str()), "unknown entry");
        }
    }
    std::vector<std::string> unknown;
    unknownKeys(root, "", known, unknown);
    for (const std::string& key : unknown)
        problem(key, "unknown entry");
    return problems.size() == before;
}
