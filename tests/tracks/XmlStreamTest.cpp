// The XML scanner under the GPX and KML readers: the nodes it gives and their depths, text with
// its references decoded, what is skipped, what is refused and at which line, and a file read
// through its window part by part with nodes across the seams.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tracks/TrackError.h"
#include "tracks/XmlStream.h"

namespace {

// Every node as "start name depth", "end name depth" or "text 'content' depth".
std::vector<std::string> nodes(XmlStream& xml) {
    std::vector<std::string> seen;
    while (xml.advance()) {
        const int depth = xml.depth();
        if (xml.atEmptyElement())
            seen.push_back("empty " + std::to_string(depth));
        else if (xml.atEndOfDepth(depth))
            seen.push_back("end " + std::to_string(depth));
        else if (xml.atStart("a") || xml.atStart("b") || xml.atStart("r"))
            seen.push_back("start " + std::to_string(depth) + " " + std::string(xml.attribute("x")));
        else
            seen.push_back("node " + std::to_string(depth));
    }
    return seen;
}

TEST(XmlStreamTest, NodesDepthsAttributesAndText) {
    const std::string text =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE r>\n<!-- a > comment -->\n"
        "<r x='1 &lt; 2'>\n <p:a x=\"a>b&#x41;&#66;\">one &amp; <![CDATA[<two>]]></p:a><b/>\n</r>\n";
    auto xml = XmlStream::openText(text, "t.xml", "r");
    // The white space between elements is no node; the text and the CDATA section are.
    const std::vector<std::string> expected = {"start 0 1 < 2", "start 1 a>bAB", "node 2", "node 2",
                                               "end 1",         "empty 1",       "end 0"};
    EXPECT_EQ(expected, nodes(*xml));

    auto again = XmlStream::openText(text, "t.xml", "r");
    while (again->advance() && !again->atStart("a")) {
    }
    EXPECT_EQ(5u, again->nodeLine());
    EXPECT_EQ("one & <two>", again->text());
    auto spaced = XmlStream::openText("<r> <a>  x </a> </r>", "t.xml", "r");
    while (spaced->advance() && !spaced->atStart("a")) {
    }
    EXPECT_EQ("  x ", spaced->text()) << "text keeps its white space";
    EXPECT_TRUE(spaced->atEnd("a"));
    EXPECT_EQ(1, spaced->depth());
    ASSERT_TRUE(spaced->advance());
    EXPECT_TRUE(spaced->atEnd("r")) << "after the element's text, its parent's end";

    auto broken = XmlStream::openText("<r><p:a>x<!--c-->y &lt; z</p:a><b>w</b></r>", "t.xml", "r");
    std::vector<std::string> texts;
    while (broken->advance())
        if (broken->atStart("a") || broken->atStart("b"))
            texts.emplace_back(broken->text());
    EXPECT_EQ((std::vector<std::string>{"xy < z", "w"}), texts);
    EXPECT_TRUE(again->atEnd("a"));
}

TEST(XmlStreamTest, WhatIsNotWellFormedIsRefusedAtItsLine) {
    const struct {
        const char* text;
        const char* error;
    } files[] = {
        {"<r>\n</s>", "t.xml:2: this is no well-formed XML: </s> closes <r>"},
        {"<r><a>x</ab></r>", "t.xml:1: this is no well-formed XML: </ab> closes <a>"},
        {"<r/>\n<r/>", "t.xml:2: this is no well-formed XML: a second root element"},
        {"text<r/>", "t.xml:1: this is no well-formed XML: text outside the root element"},
        {"<r>&;</r>", "t.xml:1: this is no well-formed XML: an unknown reference &;"},
        {"<r>&nbsp;</r>", "t.xml:1: this is no well-formed XML: an unknown reference &nbsp;"},
        {"<r>&#0;</r>", "t.xml:1: this is no well-formed XML: an unknown reference &#0;"},
        {"<r>&#xD800;</r>", "t.xml:1: this is no well-formed XML: an unknown reference &#xD800;"},
        {"<r>&#9999999;</r>", "t.xml:1: this is no well-formed XML: an unknown reference &#9999999;"},
        {"<r>a & b</r>", "t.xml:1: this is no well-formed XML: a & that starts no reference"},
        {"<!DOCTYPE r [<!ENTITY e 'x'>]><r>&e;</r>",
         "t.xml:1: this is no well-formed XML: the document declares entities of its own"},
        {"<r a='1' a='2'/>", "t.xml:1: this is no well-formed XML: the attribute a is given twice"},
        {"<r a=1/>", "t.xml:1: this is no well-formed XML: the value of a is not quoted"},
        {"<r a='<'/>", "t.xml:1: this is no well-formed XML: a < inside the value of a"},
        {"<r>\n<a>\n", "t.xml:3: this is no well-formed XML: the file ends inside <a>"},
        {"<r\n a='1'", "t.xml:2: this is no well-formed XML: the file ends inside a tag"},
        {"<r a='1'b='2'/>", "t.xml:1: this is no well-formed XML: no space before an attribute of <r>"},
        {"<r =''/>", "t.xml:1: this is no well-formed XML: a stray character inside <r>"},
        {"<r a='1' / >", "t.xml:1: this is no well-formed XML: a / inside <r>"},
        {"<r><!-- open</r>", "t.xml:1: this is no well-formed XML: the file ends inside a comment"},
        {"<r><!x></r>", "t.xml:1: this is no well-formed XML: a <! that starts no comment"},
        {"<!-- only -->", "t.xml:1: this is no well-formed XML: it has no element"},
        {"\xFF\xFE<", "t.xml:1: this is no well-formed XML: the file is written in UTF-16"},
        {"<gpx/>", "t.xml:1: this is no R file: its root is <gpx>"},
    };
    for (const auto& file : files) {
        try {
            auto xml = XmlStream::openText(file.text, "t.xml", "r");
            nodes(*xml);
            ADD_FAILURE() << "no error: " << file.error;
        } catch (const TrackError& error) {
            EXPECT_EQ(0u, std::string(error.what()).find(file.error))
                << error.what() << "\nexpected: " << file.error;
        }
    }
}

// What node-by-node reading makes of the rest of a document, its error included: each node's
// depth, and which are the end of <p> and the start of <q>.
std::string restOf(XmlStream& xml) {
    std::string seen;
    try {
        while (xml.advance())
            seen += std::to_string(xml.depth()) + (xml.atEnd("p")     ? "/p "
                                                   : xml.atStart("q") ? "q "
                                                                      : ". ");
    } catch (const TrackError& error) {
        seen += error.what();
    }
    return seen;
}

TEST(XmlStreamTest, PlainChildrenAreTakenInOneStepAndAnythingElseIsLeftAsItWas) {
    const struct {
        const char* inside;   // the content of <p>
        const char* children; // "" where it is not taken in one step
    } cases[] = {
        {"<a>1</a> <x:b>two</x:b>\n", "a=1;b=two;"},
        {"", "-"},
        {"<a></a>", "a=;"},
        {"text", ""},
        {"<a x='1'>1</a>", ""},
        {"<a/>", ""},
        {"<a>&amp;</a>", ""},
        {"<!--c--><a>1</a>", ""},
        {"<?pi?><a>1</a>", ""},
        {"<a><b>1</b></a>", ""},
        {"<a>1</a >", ""},
        {"<a>1</b>", ""},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("<r><p>") + c.inside + "</p><q/></r>";
        auto alone = XmlStream::openText(text, "t.xml", "r");
        while (alone->advance() && !alone->atStart("p")) {
        }
        auto xml = XmlStream::openText(text, "t.xml", "r");
        while (xml->advance() && !xml->atStart("p")) {
        }
        std::vector<XmlStream::PlainChild> children;
        if (xml->readPlainChildren(children)) {
            std::string got = children.empty() ? "-" : "";
            for (const XmlStream::PlainChild& child : children)
                got += std::string(child.name) + "=" + std::string(child.text) + ";";
            EXPECT_EQ(c.children, got) << c.inside;
            EXPECT_TRUE(xml->atEnd("p")) << c.inside;
            while (alone->advance() && !alone->atEnd("p")) {
            }
        } else {
            EXPECT_EQ("", std::string(c.children)) << c.inside;
        }
        EXPECT_EQ(restOf(*alone), restOf(*xml)) << c.inside;
    }
}

TEST(XmlStreamTest, PlainElementsAreTakenInOneStepAndAnythingElseIsLeftAsItWas) {
    const struct {
        const char* element; // after an empty element, and again after the model below
        const char* taken;   // its attributes and children, "" where it is not taken in one step
    } cases[] = {
        {"<p x=\"1\"      y='two'>\n <a>1</a><b>2</b></p>", "x=1;y=two;|a=1;b=2;"},
        {"<p x=\"3'\" y='\"4'>\n <a></a><b>5 6</b></p>", "x=3';y=\"4;|a=;b=5 6;"},
        {"<p x=\"1\" y=\"two\">\n <a>1</a><b>2</b></p>", "x=1;y=two;|a=1;b=2;"},
        {"<p x=\"1\" y='two'> <a>1</a><b>2</b></p>", "x=1;y=two;|a=1;b=2;"},
        {"<p y=\"1\" x='two'>\n <a>1</a><b>2</b></p>", "x=two;y=1;|a=1;b=2;"},
        {"<p x=\"1\"      y='two'>\n <b>1</b><a>2</a></p>", "x=1;y=two;|b=1;a=2;"},
        {"<p x=\"1\"      y='two'>\n <a>1</a><b>2</b><c>3</c></p>", "x=1;y=two;|a=1;b=2;c=3;"},
        {"<x:p x=\"1\"><a>1</a></x:p>", "x=1;|a=1;"},
        {"<p x=\"a>b\"/>", "x=a>b;|-"},
        {"<p/>", "|-"},
        {"<p x=\"1\"      y='t&amp;o'>\n <a>1</a><b>2</b></p>", ""},
        {"<p x=\"1\"      y='t<o'>\n <a>1</a><b>2</b></p>", ""},
        {"<p x=\"1\"z     y='two'>\n <a>1</a><b>2</b></p>", ""},
        {"<p x=\"1\"      y='two'>\n <a>1</a><b>&lt;</b></p>", ""},
        {"<p x=\"9\"      y='two'>\n <a>1</a><b>2<c/></b></p>", ""},
        {"<p x=\"1\"      y='two'>\n <a>1</a><b>2</b></pp>", ""},
        {"<p x=\"1\"      y='two'>\n <a>1</a><b>2</b>", ""},
        {"<p x=\"1\"      y='two'>\n <a>1</a><b>2</b></p", ""},
        {"<p x = \"1\"></p>", ""},
        {"<p x=\"&amp;\"></p>", ""},
        {"<p x=\"1\" x=\"2\"></p>", ""},
        {"<p x=\"1\"y=\"2\"></p>", ""},
        {"<p x=1></p>", ""},
        {"<p x=\"a<b\"></p>", ""},
        {"<p x=\"1\" / >", ""},
        {"<pp x=\"1\"></pp>", ""},
        {"<!--c--><p x=\"1\"></p>", ""},
        {"<p x=\"1\"><a x=\"1\">1</a></p>", ""},
        {"<p x=\"1\">text</p>", ""},
        {"<p x=\"1\"><a>1</a></b>", ""},
    };
    // The first case, read in one step before each case the second time round: elements written
    // alike are read by how it was written, and anything else must come out as if it were not.
    const std::string model = std::string(cases[0].element) + "\n";
    for (const bool afterModel : {false, true})
        for (const auto& c : cases) {
            const std::string text = "<r><s a='kept'/>\n" + (afterModel ? model : "") + c.element + "<q/></r>";
            const auto toS = [](XmlStream& xml) {
                while (xml.advance() && !xml.atStart("s")) {
                }
            };
            auto alone = XmlStream::openText(text, "t.xml", "r");
            toS(*alone);
            auto xml = XmlStream::openText(text, "t.xml", "r");
            toS(*xml);
            std::vector<XmlStream::PlainChild> children;
            if (afterModel) {
                ASSERT_TRUE(xml->readPlainElement("p", children));
                while (alone->advance() && !alone->atEnd("p")) {
                }
            }
            const std::string context = c.element + std::string(afterModel ? " after the model" : "");
            if (xml->readPlainElement("p", children)) {
                std::string got;
                for (const char* name : {"x", "y"})
                    if (!xml->attribute(name).empty())
                        got += std::string(name) + "=" + std::string(xml->attribute(name)) + ";";
                got += children.empty() ? "|-" : "|";
                for (const XmlStream::PlainChild& child : children)
                    got += std::string(child.name) + "=" + std::string(child.text) + ";";
                EXPECT_EQ(c.taken, got) << context;
                EXPECT_TRUE(xml->atEnd("p")) << context;
                EXPECT_EQ(afterModel ? 4u : 2u, xml->nodeLine()) << context;
                while (alone->advance() && !alone->atEnd("p")) {
                }
                EXPECT_EQ(alone->depth(), xml->depth()) << context;
            } else {
                EXPECT_EQ("", std::string(c.taken)) << context;
                // Nothing read: the current node's attributes are still its own.
                EXPECT_EQ(afterModel ? "1" : "kept", xml->attribute(afterModel ? "x" : "a")) << context;
            }
            EXPECT_EQ(restOf(*alone), restOf(*xml)) << context;
        }
    // Attribute names told apart by a byte only the last word of a short literal holds.
    auto xml = XmlStream::openText("<r><p x=\"1\" abc=\"2\"/><p x=\"3\" abd=\"4\"/></r>", "t.xml", "r");
    std::vector<XmlStream::PlainChild> children;
    ASSERT_TRUE(xml->advance());
    ASSERT_TRUE(xml->readPlainElement("p", children));
    EXPECT_EQ("2", xml->attribute("abc"));
    ASSERT_TRUE(xml->readPlainElement("p", children));
    EXPECT_EQ("4", xml->attribute("abd"));
    EXPECT_EQ("", xml->attribute("abc"));
}

TEST(XmlStreamTest, AFileIsReadThroughItsWindowWithNodesAcrossTheSeams) {
    // Elements of every length from 1 to 600 characters of text and attribute, so that some of
    // them straddle each seam between the parts the file is read by, one to a line, and short
    // lines among them.
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zephrel-xml-window-" + std::to_string(getpid()) + ".xml");
    std::vector<std::string> values;
    {
        std::ofstream out(path, std::ios::binary);
        out << "<r>\n";
        for (int i = 0; i < 9000; ++i) {
            values.push_back(
                std::string(static_cast<std::size_t>(i % 600 + 1), static_cast<char>('a' + i % 26)) + "&");
            const std::string plain = values.back().substr(0, values.back().size() - 1);
            out << "<a x=\"" << plain << "&amp;\">" << plain << "&amp;</a>\n";
            out << "<p n=\"" << i << "\"><b>" << plain << "</b> <c>" << i << "</c></p>\n";
            out << "<e/>\n";
        }
        out << "</r>\n";
    }
    auto xml = XmlStream::openFile(path.string(), "r");
    std::size_t index = 0, inOneStep = 0;
    std::vector<XmlStream::PlainChild> children;
    const auto expectP = [&](const std::string& texts) {
        const std::string& plain = values[index - 1];
        EXPECT_EQ("b=" + plain.substr(0, plain.size() - 1) + ";c=" + std::to_string(index - 1) + ";", texts);
    };
    while (true) {
        // <p> whole in one step where the window holds it, else from its start, where its
        // children may still be taken in one step, else node by node across a seam.
        if (xml->readPlainElement("p", children)) {
            ++inOneStep;
            EXPECT_EQ(std::to_string(index - 1), xml->attribute("n"));
            EXPECT_EQ(3 * index, xml->nodeLine()) << index;
            std::string texts;
            for (const XmlStream::PlainChild& child : children)
                texts += std::string(child.name) + "=" + std::string(child.text) + ";";
            expectP(texts);
            continue;
        }
        if (!xml->advance())
            break;
        if (xml->atStart("p")) {
            EXPECT_EQ(std::to_string(index - 1), xml->attribute("n"));
            std::string texts;
            if (xml->readPlainChildren(children)) {
                for (const XmlStream::PlainChild& child : children)
                    texts += std::string(child.name) + "=" + std::string(child.text) + ";";
            } else {
                while (xml->advance() && !xml->atEnd("p"))
                    if (xml->atStart("b") || xml->atStart("c")) {
                        texts += xml->atStart("b") ? "b=" : "c=";
                        texts += std::string(xml->text()) + ";";
                    }
            }
            expectP(texts);
            continue;
        }
        if (xml->atStart("e")) {
            EXPECT_EQ(3 * index + 1, xml->nodeLine()) << index;
        }
        if (!xml->atStart("a"))
            continue;
        ASSERT_LT(index, values.size());
        EXPECT_EQ(values[index], xml->attribute("x")) << index;
        EXPECT_EQ(3 * index + 2, xml->nodeLine()) << index;
        EXPECT_EQ(values[index], xml->text()) << index;
        ++index;
    }
    EXPECT_EQ(values.size(), index);
    // All in one step but those across a seam, at most one for each part of the file read.
    EXPECT_LE(values.size() - inOneStep, std::filesystem::file_size(path) / XmlStream::kReadSize + 1);
    EXPECT_GT(values.size() - inOneStep, 0u) << "no <p> across a seam: the test misses its point";
    // Lines asked for seldom, long after the window has moved past the ones before.
    auto again = XmlStream::openFile(path.string(), "r");
    std::size_t as = 0;
    uint64_t fifth = 0; // where the 5000th <a> begins
    while (again->advance()) {
        if (!again->atStart("a"))
            continue;
        if (++as % 4000 == 0) {
            EXPECT_EQ(3 * as - 1, again->nodeLine()) << as;
        }
        if (as == 5000)
            fifth = again->nodeOffset();
    }
    EXPECT_EQ(3 * values.size() + 2, again->nodeLine()); // </r>
    EXPECT_EQ(3 * 5000 - 1, again->lineAt(fifth)) << "a line before the last asked for";
    std::filesystem::remove(path);
}

TEST(XmlStreamTest, AFileCutShortWhileItIsReadEndsInAnErrorNamingIt) {
    // Another program truncating the file while it is read (a logger starting over) leaves an
    // input that ends inside its root, and that is what is said of it.
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zephrel-xml-cut-" + std::to_string(getpid()) + ".xml");
    {
        std::ofstream out(path, std::ios::binary);
        out << "<r>\n";
        for (int i = 0; i < 200000; ++i)
            out << "<p n=\"" << i << "\"><b>" << i << "</b></p>\n";
        out << "</r>\n";
    }
    auto xml = XmlStream::openFile(path.string(), "r");
    std::vector<XmlStream::PlainChild> children;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(xml->readPlainElement("p", children) || xml->advance());
    std::filesystem::resize_file(path, 3 << 20);
    int read = 100;
    try {
        while (xml->readPlainElement("p", children) || xml->advance())
            ++read;
        ADD_FAILURE() << "read to the end of a file cut short";
    } catch (const TrackError& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find(path.string())) << error.what();
        EXPECT_NE(std::string::npos, std::string(error.what()).find("the file was cut short while it was read"))
            << error.what();
    }
    EXPECT_GT(read, 100000) << "what the file still holds is read";
    std::filesystem::remove(path);
}

} // namespace
