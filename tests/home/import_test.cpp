// Importing a document as a script, from the add menu to the editor, on the
// simulated device with the real document readers.

#include "home_fixture.h"

#include "home/document_import.h"
#include "library/editScriptViewController.h"
#include "platform/ui/editable_text_view.h"
#include "tests/documents/support/cfb_writer.h"
#include "tests/documents/support/docx_writer.h"
#include "tests/documents/support/rtf_writer.h"

#include <filesystem>
#include <fstream>

using namespace cw;
using namespace cw::test;
namespace fs = std::filesystem;
namespace kit = cw::documents::testkit;

namespace {

std::string const refused_tail = ", is not supported.";

std::string encrypted_doc()
{
    kit::WordOptions options;
    options.encrypted = true;
    return kit::make_word_document({ kit::compressed_piece("x\r") }, options).bytes;
}

struct ImportSession : HomeSession {
    ImportSession()
        : HomeSession(scripts_at_top({ "Intro", "Outro" }))
    {
        folder = fs::path(testing::TempDir()) / ("cw_import_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        device.log().take_new_lines();
    }
    ~ImportSession() { fs::remove_all(folder); }

    std::string write(std::string const& name, std::string const& bytes)
    {
        auto path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    Json open_picker()
    {
        tap("addScriptButton");
        run({ { "cmd", "answer" }, { "choose", "Import Existing Script" } });
        return run({ { "cmd", "document_picker" } });
    }
    Json pick(std::string const& path)
    {
        open_picker();
        return run({ { "cmd", "document_picker" }, { "pick", path } });
    }
    void choose(std::string const& action) { run({ { "cmd", "answer" }, { "choose", action } }); }
    void name_script(std::string const& name) { run({ { "cmd", "answer" }, { "fields", { name } }, { "choose", import_texts::create_action } }); }
    std::string imported_text() { return device.store().string(keys::ImportedText); }
    std::vector<std::string> titles() { return string_list(device.store().list(keys::scriptTitlesArray)); }
    sim::SimTextExtraction& reader() { return *device.platform().documents; }

    fs::path folder;
};

}

TEST(ImportNames, TheLastFourCharactersDecide)
{
    struct Case {
        char const* path;
        char const* name;
        char const* ending;
        bool accepted;
    } const cases[] = {
        { "/home/p/Meeting notes.docx", "Meeting notes.docx", "docx", true },
        { "/tmp/Inbox/b.doc", "b.doc", ".doc", true },
        { "talk.rtf", "talk.rtf", ".rtf", true },
        { "/x/mydocx", "mydocx", "docx", true },
        { "/x/slides.pdf", "slides.pdf", ".pdf", false },
        { "/x/NOTES.TXT", "NOTES.TXT", ".TXT", false },
        { "/x/c.DOC", "c.DOC", ".DOC", false },
        { "/x/e.text", "e.text", "text", false },
        { "/x/notes", "notes", "otes", false },
        { "/x/doc", "doc", "doc", false },
        { "/x/", "", "", false },
        // Characters, not bytes: the accented letters are kept whole.
        { "/x/Rede für Zoë", "Rede für Zoë", " Zoë", false },
        { "/x/Café.txt", "Café.txt", ".txt", true },
    };
    for (auto const& c : cases) {
        auto name = imported_file_name(c.path);
        EXPECT_EQ(name, c.name) << c.path;
        EXPECT_EQ(imported_file_ending(name), c.ending) << c.path;
        EXPECT_EQ(is_importable_ending(imported_file_ending(name)), c.accepted) << c.path;
    }
}

TEST(Import, ThePickerOffersFourKindsInImportMode)
{
    ImportSession session;
    auto picker = session.open_picker();
    EXPECT_EQ(picker["documentTypes"], Json({ "public.rtf", "public.text", "public.composite-content", "public.folder" }));
    EXPECT_EQ(picker["mode"], "import");
    EXPECT_TRUE(session.device.top()->presenting()->last_presentation_animated());
}

TEST(Import, EachKindOfDocumentBecomesAScript)
{
    struct Case {
        char const* name;
        std::string bytes;
        char const* text;
    } const cases[] = {
        { "Meeting notes.docx", kit::docx_from_paragraphs({ "Good morning.", "Thank you for coming." }), "Good morning.\nThank you for coming.\n" },
        { "speech.rtf", kit::rtf_from_paragraphs({ "Ladies and gentlemen", "welcome." }), "Ladies and gentlemen\nwelcome.\n" },
        { "old.doc", kit::make_word_document({ kit::compressed_piece("From the archive\r") }).bytes, "From the archive\n" },
        { "notes.txt", "Plain words\r\nand more", "Plain words\nand more" },
        { "mydocx", kit::docx_from_paragraphs({ "No extension" }), "No extension\n" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        ImportSession session;
        auto picked = session.pick(session.write(c.name, c.bytes));
        EXPECT_EQ(picked["top"], "AlertController");
        EXPECT_EQ(picked["alert"]["alertTitle"], "File Imported\n");
        EXPECT_EQ(picked["alert"]["message"], std::string("Successfully imported file ") + c.name + ". Tap OK to edit your imported script");
        EXPECT_EQ(session.actions(), std::vector<std::string> { "Ok" });
        EXPECT_EQ(session.imported_text(), c.text);
        auto lines = session.device.log().take_new_lines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Doc Type = " + imported_file_ending(c.name)), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("TEXT = ") + c.text), lines.end());

        session.choose("Ok");
        auto dialog = session.run({ { "cmd", "alert" } })["alert"];
        EXPECT_EQ(dialog["alertTitle"], "Create Imported Script");
        EXPECT_EQ(dialog["message"], "Enter script name");
        EXPECT_EQ(dialog["textFields"], Json::parse(R"([{"placeholder":"","text":"","keyboard":"asciiCapable"}])"));
        EXPECT_EQ(dialog["actions"], Json::parse(R"([{"title":"Create Script","style":"default","enabled":true}])"));

        session.name_script("Imported talk");
        auto* editor = session.device.top_as<editScriptViewController>();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->editTextView->text(), c.text);
        ASSERT_TRUE(session.device.tap("saveButton"));
        EXPECT_EQ(session.titles(), (std::vector<std::string> { "Intro", "Outro", "Imported talk" }));
        EXPECT_EQ(string_list(session.device.store().list(keys::scriptTextArray)).back(), c.text);
    }
}

TEST(Import, NamesOutsideTheFourEndingsAreRefused)
{
    for (auto const* name : { "slides.pdf", "NOTES.TXT", "notes" }) {
        SCOPED_TRACE(name);
        ImportSession session;
        auto before = session.device.store().list(keys::combinedDataSource);
        auto picked = session.pick(session.write(name, "Some words"));
        EXPECT_EQ(picked["alert"]["alertTitle"], "File not Imported");
        EXPECT_EQ(picked["alert"]["message"],
            std::string("Sorry! Currently Cuewright supports doc, docx, rtf and txt files. Please choose a different file to import.\n\n ") + name + refused_tail);
        EXPECT_EQ(session.actions(), std::vector<std::string> { "Ok" });
        session.choose("Ok");
        EXPECT_EQ(session.device.top()->class_name(), std::string("ViewController"));
        EXPECT_EQ(session.device.store().list(keys::combinedDataSource), before);
        EXPECT_EQ(session.titles(), (std::vector<std::string> { "Intro", "Outro" }));
    }
}

TEST(Import, CancellingThePickerChangesNothing)
{
    ImportSession session;
    session.device.store().set(keys::ImportedText, "earlier");
    session.open_picker();
    auto answer = session.run({ { "cmd", "document_picker" }, { "cancel", true } });
    EXPECT_EQ(answer["top"], "ViewController");
    EXPECT_TRUE(answer["alert"].is_null());
    EXPECT_TRUE(session.reader().requested().empty());
    EXPECT_EQ(session.imported_text(), "earlier");
    EXPECT_TRUE(session.device.log().take_new_lines().empty());
}

TEST(Import, TwoImportsInARowKeepTheSecondText)
{
    ImportSession session;
    session.pick(session.write("first.txt", "First document"));
    session.choose("Ok");
    session.name_script("First");
    ASSERT_TRUE(session.device.tap("saveButton"));
    session.pick(session.write("second.txt", "Second document"));
    EXPECT_EQ(session.imported_text(), "Second document");
    session.choose("Ok");
    session.name_script("Second");
    ASSERT_TRUE(session.device.tap("saveButton"));
    auto texts = string_list(session.device.store().list(keys::scriptTextArray));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2], "First document");
    EXPECT_EQ(texts[3], "Second document");
}

TEST(Import, CreateScriptWaitsUntilTheDocumentIsRead)
{
    ImportSession session;
    session.reader().hold = true;
    auto picked = session.pick(session.write("slow.docx", kit::docx_from_paragraphs({ "Worth the wait" })));
    // The notice does not wait for the document.
    EXPECT_EQ(picked["alert"]["alertTitle"], "File Imported\n");
    session.choose("Ok");
    auto dialog = session.run({ { "cmd", "alert" } })["alert"];
    EXPECT_EQ(dialog["actions"][0]["enabled"], false);
    EXPECT_FALSE(session.driver.handle({ { "cmd", "answer" }, { "choose", "Create Script" } })["ok"]);

    ASSERT_TRUE(session.reader().finish_next());
    session.device.settle();
    EXPECT_EQ(session.run({ { "cmd", "alert" } })["alert"]["actions"][0]["enabled"], true);
    session.name_script("Patience");
    auto* editor = session.device.top_as<editScriptViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->editTextView->text(), "Worth the wait\n");
}

TEST(Import, TheTextOfAnEarlierChoiceArrivingLateIsDropped)
{
    ImportSession session;
    session.reader().hold = true;
    session.pick(session.write("slides.pdf", "old"));
    session.choose("Ok");
    session.pick(session.write("today.txt", "Today's script"));
    ASSERT_TRUE(session.reader().finish_next()); // slides.pdf, late
    ASSERT_TRUE(session.reader().finish_next());
    session.device.settle();
    EXPECT_EQ(session.imported_text(), "Today's script");
    auto lines = session.device.log().take_new_lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Dropped the text of a document chosen before the last one."), lines.end());
}

TEST(Import, UnreadableDocumentsAreRefusedAndStoreNothing)
{
    struct Case {
        char const* name;
        std::string bytes;
        char const* reason;
    } const cases[] = {
        { "broken.docx", "PK\x03\x04 this is not a zip", "The .docx document is damaged or incomplete and could not be read." },
        { "empty.txt", "", "The document has no text." },
        { "secret.doc", encrypted_doc(),
            "The document is password-protected. Remove the password in your word processor, save it, and open it again." },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        ImportSession session;
        session.device.store().set(keys::ImportedText, "earlier");
        auto picked = session.pick(session.write(c.name, c.bytes));
        EXPECT_EQ(picked["alert"]["alertTitle"], "File not Imported");
        EXPECT_EQ(picked["alert"]["message"], std::string("Sorry! Cuewright could not read ") + c.name + ".\n\n" + c.reason);
        session.choose("Ok");
        EXPECT_EQ(session.device.top()->class_name(), std::string("ViewController")) << "no notice after the refusal";
        EXPECT_EQ(session.imported_text(), "earlier");
        EXPECT_EQ(session.titles(), (std::vector<std::string> { "Intro", "Outro" }));
    }
}

TEST(Import, ADocumentFoundUnreadableWhileNamingClosesTheDialog)
{
    ImportSession session;
    session.reader().hold = true;
    session.pick(session.write("broken.docx", "PK\x03\x04 nope"));
    session.choose("Ok");
    EXPECT_EQ(session.alert_title(), "Create Imported Script");
    ASSERT_TRUE(session.reader().finish_next());
    session.device.settle();
    EXPECT_EQ(session.alert_title(), "File not Imported");
    session.choose("Ok");
    EXPECT_EQ(session.device.top()->class_name(), std::string("ViewController"));
    EXPECT_EQ(session.titles(), (std::vector<std::string> { "Intro", "Outro" }));
}
