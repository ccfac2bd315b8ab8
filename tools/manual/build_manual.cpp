#include "build_manual.h"

#include <set>

#include "compose.h"
#include "html_writer.h"
#include "png_data.h"
#include "source_reader.h"
#include "stylesheet.h"

namespace manual {

namespace {

ManualResult fail(const std::string& error) {
    ManualResult r;
    r.error = error;
    return r;
}

}  // namespace

ManualResult buildManual(const ManualSources& sources, const BankSet& banks) {
    const ReadResult doc = readDocument(sources.text);
    if (!doc.ok) return fail("manual.txt, " + doc.error);
    const PictureListResult list = readPictureList(sources.pictures);
    if (!list.ok) return fail("pictures.txt, " + list.error);
    if (banks.banks().empty()) return fail("no sprite bank is loaded");
    const StyleResult style = applyPalette(sources.css, banks.banks().front().picture.palette);
    if (!style.ok) return fail("style.css, " + style.error);

    std::set<std::string> shown;
    if (!doc.document.banner.empty()) shown.insert(doc.document.banner);
    for (const auto& s : doc.document.sections)
        for (const auto& row : s.rows) shown.insert(row.pictures.begin(), row.pictures.end());

    std::map<std::string, PagePicture> pictures;
    for (const auto& spec : list.pictures) {
        if (!shown.contains(spec.name)) return fail("pictures.txt, the picture \"" + spec.name + "\" is shown nowhere");
        const ComposeResult c = compose(spec, banks);
        if (!c.ok) return fail("pictures.txt, " + c.error);
        PagePicture p{spec, pngDataUri(c.image), c.image.width, c.image.height};
        if (p.uri.empty()) return fail("the picture \"" + spec.name + "\" could not be encoded");
        pictures.emplace(spec.name, std::move(p));
    }
    const PageResult page = writePage(doc.document, pictures, style.css);
    if (!page.ok) return fail("manual.txt, " + page.error);
    ManualResult r;
    r.ok = true;
    r.html = page.html;
    return r;
}

}  // namespace manual
