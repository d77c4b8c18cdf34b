// A sponsor's brand: every text, colour and picture of the game's screens and of the prize
// certificate, read from a brand file (TOML) a person edits. The art maker draws the pictures
// from it and the print program the certificate; the game itself reads only the pictures.
// The built-in brand is Solrind's, the example file docs/brand/solrind.toml.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Brand {
  public:
    // Reads and checks a brand file, or the built-in one for "". Every problem is one line
    // naming the file and the entry ("acme.toml: rules.items[3]: ..."); true when none. An
    // entry that is missing or wrong takes the built-in brand's value, so that a brand with
    // problems can still be drawn (in memory) to find the rest of them: see `complete`.
    bool read(const std::string& file, std::vector<std::string>& problems);

    // Entries by their dotted key: "welcome.title", "prizes.2.text" (pages count from 1).
    const std::string& text(const std::string& key) const { return texts.at(key); }
    const std::vector<std::string>& list(const std::string& key) const { return lists.at(key); }
    uint32_t colour(const std::string& key) const { return colours.at(key); }  // 0xRRGGBB
    const std::vector<int64_t>& numbers(const std::string& key) const {
        return numberLists.at(key);
    }
    // A picture entry: "" for none, a drawing's name, or a file (resolved against the brand
    // file's folder).
    const std::string& picture(const std::string& key) const { return texts.at(key); }
    static bool isDrawing(const std::string& picture);
    // The files the brand's picture entries name (none for drawings and ""), and the brand as
    // it was read: together, all a drawing of the brand depends on.
    std::vector<std::string> pictureFiles() const;
    std::string source;
    // A problem as one line, whatever the brand file holds: control characters shown escaped
    // ("\n", "\x1b"), so that no text of a brand can forge a line of its own in a log.
    static std::string line(const std::string& text);
    // A text for a web page: in HTML or SVG text and attributes, and as a JSON string that is
    // safe inside a <script>.
    static std::string markupText(const std::string& text);
    static std::string jsonText(const std::string& text);
    // "<file>: <entry>", the start of a problem's line about an entry, the entry named as the
    // file reads, counted from 1: "rules.items[3]", "menu.buttons[5]", "prizes[2].title".
    std::string where(const std::string& key) const;
    static std::string shownKey(const std::string& key);
    std::string shownValue(const std::string& key) const;  // as the file would write it

    std::string name;                // the file as given, or "the built-in brand"
    std::vector<std::string> notes;  // entries taken from the built-in brand, one line each
    bool complete = false;           // every entry has a value (the file could be parsed)

  private:
    std::map<std::string, std::string> texts;  // texts, pictures and the paper
    std::map<std::string, std::vector<std::string>> lists;
    std::map<std::string, uint32_t> colours;
    std::map<std::string, std::vector<int64_t>> numberLists;
};

// The drawings the art maker has, for a picture entry.
extern const char* const kBrandDrawings[];
