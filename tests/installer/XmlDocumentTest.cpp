// The document that keeps what it does not edit: parsing and writing back, the layout of what is
// added and removed, and the files it refuses.

#include <gtest/gtest.h>

#include <string>

#include "installer/XmlDocument.h"
#include "installer/XmlError.h"

namespace {

TEST(XmlDocument, AnUneditedDocumentWritesBackByteForByte) {
    for (const std::string text : {
             "\xEF\xBB\xBF<?xml version='1.0' encoding=\"UTF-8\" ?>\r\n<a/>\r\n",
             "<!DOCTYPE a [<!ENTITY e 'x'>]>\n<!-- c -->\n<a  b = 'x&apos;y' >&e;&#65;<![CDATA[<]]><?p "
             "q?></a >\n\n",
             " \n<a>\t<b></b><c /></a>\r\n\t",
             "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9\xFF</a>",
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(XmlDocument::parse(text).bytes(), text);
    }
}

TEST(XmlDocument, FilesThatCannotBeEditedAndWrittenBackAreRefused) {
    std::string nested;
    for (int i = 0; i < SourceMap::kMaxDepth + 1; ++i)
        nested = "<a>" + nested + "</a>";
    for (const std::string& text :
         {std::string("\xFF\xFE<\0a\0/\0>\0", 10),
          std::string("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a/>"),
          std::string("<?xml version=\"1.0\" encoding=\"US-ASCII\"?><a>\xE9</a>"), std::string("<a><b></a>"),
          std::string("no XML"), std::string("<a/><a/>"), std::string("<a/>text"), nested}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(XmlDocument::parse(text), XmlError);
    }
}

TEST(XmlDocument, AddedElementsAreLaidOutAsTheirSiblingsOrOneLevelDeeper) {
    XmlDocument document = XmlDocument::parse("<r>\r\n    <a>1</a>\r\n    <e/>\r\n</r>");
    const pugi::xml_node root = document.document().first_child();
    document.setText(document.addElement(root, "b"), "2");
    const pugi::xml_node e = document.select(root, "e");
    document.setText(document.addElement(e, "f"), "3");
    EXPECT_EQ(document.bytes(),
              "<r>\r\n    <a>1</a>\r\n    <e>\r\n        <f>3</f>\r\n    </e>\r\n    <b>2</b>\r\n</r>");
}

// Read again in between, as separate runs of the actions read the file.
TEST(XmlDocument, AnElementAddedAndRemovedAgainLeavesTheTextAsItWas) {
    for (const std::string& text : {std::string("<r>\n <a/>\n stray text\n</r>"), std::string("<r>\r\n</r>"),
                                    std::string("<r> <a/> </r>"), std::string("<r><a/></r>")}) {
        SCOPED_TRACE(text);
        XmlDocument document = XmlDocument::parse(text);
        document.addElement(document.document().first_child(), "b");
        XmlDocument again = XmlDocument::parse(document.bytes());
        again.selectAllAndRemove(again.document(), "r/b");
        EXPECT_EQ(again.bytes(), text);
    }
}

TEST(XmlDocument, RemovedNodesTakeTheirIndentationAlong) {
    XmlDocument document = XmlDocument::parse("<r>\n <x><x/></x>\n <y/>\n <x>t</x>\n</r>\n");
    document.selectAllAndRemove(document.document(), "//x");
    EXPECT_EQ(document.bytes(), "<r>\n <y/>\n</r>\n");
}

TEST(XmlDocument, SettingTextReplacesTheWholeContentAndRefusesAnEmptyOne) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"<r><a>old</a><b/></r>", "<r><a>new</a><b/></r>"},
        {"<r><a/></r>", "<r><a>new</a></r>"},
        {"<r><a>old<!--c-->more</a></r>", "<r><a>new</a></r>"},
        {"<r><a><![CDATA[old]]>more</a></r>", "<r><a>new</a></r>"},
        {"<r><a>old<b>more</b></a></r>", "<r><a>new</a></r>"},
    };
    for (const auto& c : cases) {
        XmlDocument document = XmlDocument::parse(c.before);
        const pugi::xml_node a = document.select(document.document(), "r/a");
        document.setText(a, "new");
        EXPECT_THROW(document.setText(a, ""), XmlError);
        EXPECT_EQ(document.bytes(), c.after) << c.before;
        const XmlDocument reread = XmlDocument::parse(document.bytes());
        EXPECT_STREQ("new", reread.select(reread.document(), "r/a").child_value()) << c.before;
    }
}

TEST(XmlDocument, AnElementWithANewAttributeIsWrittenAnewAndTheRestIsKept) {
    XmlDocument document = XmlDocument::parse("<?xml version='1.0' ?>\n<r><a x='1'>t</a><b  y='2'/></r>");
    document.setAttribute(document.select(document.document(), "r/a"), "x", "3\"");
    EXPECT_EQ(document.bytes(), "<?xml version='1.0' ?>\n<r><a x=\"3&quot;\">t</a><b  y='2'/></r>");
}

} // namespace
