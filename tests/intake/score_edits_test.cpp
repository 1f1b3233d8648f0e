#include "intake/score_edits.h"

#include <gtest/gtest.h>

#include <string>

#include "intake/xml_layout.h"

namespace {

using namespace zelvo::intake;

// A one-part score in 4/4 with divisions 2; `first` is the first measure's
// start tag and content after its attributes.
pugi::xml_document score(const std::string& first, const std::string& rest) {
  const std::string attributes =
      "<attributes><divisions>2</divisions><time><beats>4</beats><beat-type>4</beat-type></time>"
      "</attributes>";
  const std::string text = "<score-partwise><part id=\"P1\">" + first.substr(0, first.find('>') + 1) +
                           attributes + first.substr(first.find('>') + 1) + rest +
                           "</part></score-partwise>";
  pugi::xml_document document;
  EXPECT_TRUE(document.load_string(text.c_str()));
  return document;
}

std::string note(const char* step, int octave, int duration, bool chord = false) {
  return std::string("<note>") + (chord ? "<chord/>" : "") + "<pitch><step>" + step +
         "</step><octave>" + std::to_string(octave) + "</octave></pitch><duration>" +
         std::to_string(duration) + "</duration></note>";
}

const std::string kFullBar = "<measure number=\"1\">" + note("C", 4, 8) + "</measure>";

TEST(ScoreEdits, PickupEndsBarOneAndTheFirstFullMeasureIsBarTwo) {
  pugi::xml_document doc = score("<measure number=\"0\" implicit=\"yes\">" + note("G", 3, 2) +
                                     "</measure>",
                                 kFullBar);
  ASSERT_TRUE(has_pickup(doc));
  place_pickup(doc);
  const pugi::xml_node part = doc.child("score-partwise").child("part");
  const pugi::xml_node pickup = part.child("measure");
  EXPECT_STREQ(pickup.attribute("number").value(), "1");
  EXPECT_EQ(pickup.child("forward").child("duration").text().as_int(), 6);  // 8 - 2
  EXPECT_STREQ(pickup.next_sibling("measure").attribute("number").value(), "2");
}

TEST(ScoreEdits, ImplicitMeasuresThatFillTheBarAreNoPickups) {
  EXPECT_FALSE(has_pickup(score("<measure number=\"1\" implicit=\"yes\">" + note("C", 4, 8) +
                                    "</measure>",
                                "")));
  EXPECT_FALSE(has_pickup(score("<measure number=\"0\">" + note("C", 4, 2) + "</measure>", "")));
}

TEST(ScoreEdits, PickupBarTakesTheFirstChordOrTheFirstRisingRun) {
  pugi::xml_document chords = score("<measure number=\"1\">" + note("C", 3, 4) +
                                        note("E", 4, 4, true) + note("G", 4, 4, true) +
                                        note("F", 3, 4) + note("A", 4, 4, true) + "</measure>",
                                    "");
  add_pickup_bar(chords);
  const pugi::xml_node added = chords.child("score-partwise").child("part").child("measure");
  EXPECT_STREQ(added.attribute("number").value(), "1");
  EXPECT_EQ(std::distance(added.children("note").begin(), added.children("note").end()), 3);
  EXPECT_STREQ(added.next_sibling("measure").attribute("number").value(), "2");

  pugi::xml_document run = score("<measure number=\"1\">" + note("C", 4, 1) + note("D", 4, 1) +
                                     note("E", 4, 1) + note("D", 4, 1) + "</measure>",
                                 "");
  add_pickup_bar(run);
  const pugi::xml_node bar = run.child("score-partwise").child("part").child("measure");
  EXPECT_EQ(std::distance(bar.children("note").begin(), bar.children("note").end()), 3);
}

TEST(ScoreEdits, DroppedPickupLeavesItsAttributesToTheNextMeasure) {
  pugi::xml_document doc = score("<measure number=\"0\" implicit=\"yes\">" + note("G", 3, 2) +
                                     "</measure>",
                                 kFullBar);
  drop_pickup(doc);
  const pugi::xml_node first = doc.child("score-partwise").child("part").child("measure");
  EXPECT_STREQ(first.attribute("number").value(), "1");
  EXPECT_EQ(first.child("attributes").child("divisions").text().as_int(), 2);
  EXPECT_FALSE(first.next_sibling("measure"));
}

TEST(XmlLayout, OneElementPerLineWithTheKeyAttributeFirst) {
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(
      "<a><!-- c --><measure width=\"3\" number=\"7\"><note><chord/><pitch><step> A </step>"
      "</pitch><tie placement=\"x\" type=\"stop\"/></note></measure></a>"));
  EXPECT_EQ(lay_out(doc),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<a>\n"
            "  <measure number=\"7\" width=\"3\">\n"
            "    <note>\n"
            "      <chord/>\n"
            "      <pitch>\n"
            "        <step>A</step>\n"
            "      </pitch>\n"
            "      <tie type=\"stop\" placement=\"x\"/>\n"
            "    </note>\n"
            "  </measure>\n"
            "</a>\n");
}

}  // namespace
