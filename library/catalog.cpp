// The catalog scan: one pass over the songbook that fills the catalog, the
// song box, the count label and the song list together, so that they
// always agree.
#include "library/catalog.h"

#include <string>
#include <string_view>

#include "library/songbook.h"
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

    // Takes one line before the end marker.
    void take_line(const BookLine& line) {
        std::string_view text = line.text;
        if (line.kind == LineKind::header) {
            const std::string_view title = header_title(text);
            take_song(title);
            text = up_to_title_end(text, title);
        }
        if (line.kind != LineKind::header && line.kind != LineKind::label) return;
        if (holds(text, kLabelMark)) take_label(label_text(text));
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

}  // namespace

void build_catalog(const std::string& songbook_path, bool show_hidden, Catalog& catalog,
                   CatalogOutputs out) {
    catalog.entries.clear();
    SongListSink& page = out.song_list;
    page.begin_list_page();
    out.song_box.reset();

    const auto book = read_songbook(songbook_path);
    if (book) {
        // The reader beeps for each cut it meets on its way to the end marker.
        for (std::size_t i = book->cuts_through(book->end_marker()); i > 0; --i) out.beeper.beep();
        CatalogScan scan(show_hidden, catalog, out.song_box, page);
        for (const std::size_t i : book->marked_lines()) {
            if (i >= book->end_marker()) break;
            scan.take_line(book->lines()[i]);
        }
    }
    // The box is shown as it now is, empty too: it was emptied above.
    out.song_box.finish();
    // Without a songbook the song list is left unfinished (the list page
    // then holds its opening lines alone) and the count label keeps its
    // text.
    if (!book) return;
    out.count_label.set_text(std::to_string(catalog.entries.size()));
    page.finish_list_page();
}

void clear_display_lines(CurrentSong& song) {
    for (std::string& line : song.display) line.clear();
}

}  // namespace lyro
