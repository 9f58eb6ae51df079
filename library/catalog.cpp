// The catalog scan: one pass over the songbook that fills the catalog, the
// song box, the count label and the song list together, so that they
// always agree.
#include "library/catalog.h"

#include <string>
#include <string_view>

#include "library/book_file.h"
#include "library/byte_scan.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

std::string_view catalog_cut(std::string_view text) { return text.substr(0, kCatalogTitleMax); }

bool is_hidden(std::string_view title) { return !title.empty() && title.front() == '/'; }

// The text of a label line: after the run of '*' that starts at the first
// "*****", up to the next '*' or the end of the line.
std::string_view label_text(std::string_view line) {
    std::size_t at = line.find(kLabelMark);
    while (at < line.size() && line[at] == '*') ++at;
    const std::size_t end = line.find('*', at);
    return line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
}

// A header line as far as its title reaches: a label mark behind the
// title (in "::::: Title ::::: *****", say) does not count.
std::string_view up_to_title_end(std::string_view line, std::string_view title) {
    if (title.data() == nullptr) return line;
    return line.substr(0, static_cast<std::size_t>(title.data() - line.data()) + title.size());
}

class CatalogScan {
public:
    CatalogScan(bool show_hidden, Catalog& catalog, SongBox& box, SongListSink& page)
        : show_hidden_(show_hidden), catalog_(catalog), box_(box), page_(page) {}

    // Takes one line of the songbook; false at the end marker, after
    // which nothing counts.
    bool take_line(std::string_view line) {
        // Every marker holds ':' or '*', and most lines hold neither.
        if (find_either(line.data(), line.size(), ':', '*') == line.size()) return true;
        if (holds(line, kEndMarker)) return false;
        if (holds(line, kHeaderMark)) {
            const std::string_view title = header_title(line);
            take_song(title);
            line = up_to_title_end(line, title);
        }
        if (holds(line, kLabelMark)) take_label(label_text(line));
        return true;
    }

private:
    void take_song(std::string_view title) {
        catalog_.entries.emplace_back(catalog_cut(title));
        if (show_hidden_ || !is_hidden(title)) {
            box_.add(title);
            page_.add_list_page_entry(title);
        }
    }

    void take_label(std::string_view text) {
        catalog_.entries.emplace_back(catalog_cut(text));
        box_.add(text);
    }

    bool show_hidden_;
    Catalog& catalog_;
    SongBox& box_;
    SongListSink& page_;
};

// Feeds every line before the end marker to the scan. False when the
// songbook cannot be opened. The file is closed on return.
bool scan_songbook(const std::string& path, CatalogScan& scan, Beeper& beeper) {
    BookFile book(path);
    if (!book.is_open()) return false;
    std::string_view line;
    while (next_book_line(book, line, beeper)) {
        if (!scan.take_line(line)) break;
    }
    return true;
}

}  // namespace

void build_catalog(const std::string& songbook_path, bool show_hidden, Catalog& catalog,
                   CatalogOutputs out) {
    catalog.entries.clear();
    SongListSink& page = out.song_list;
    page.begin_list_page();
    out.song_box.reset();

    CatalogScan scan(show_hidden, catalog, out.song_box, page);
    const bool read = scan_songbook(songbook_path, scan, out.beeper);
    // The box is shown as it now is, empty too: it was emptied above.
    out.song_box.finish();
    // Without a songbook the song list is left unfinished (the list page
    // then holds its opening lines alone) and the count label keeps its
    // text.
    if (!read) return;
    out.count_label.set_text(std::to_string(catalog.entries.size()));
    page.finish_list_page();
}

void clear_display_lines(CurrentSong& song) {
    for (std::string& line : song.display) line.clear();
}

}  // namespace lyro
