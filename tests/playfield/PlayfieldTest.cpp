#include "ClassRegistry.h"
#include "Colors.h"
#include "FormReader.h"
#include "PreviewForm.h"
#include "Random.h"
#include "T_KUBRIN.h"
#include "TestServices.h"
#include "WidgetTesting.h"
#include "TestRows.h"

#include <QApplication>
#include <QBuffer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using TestRows::PrintTo;

constexpr QRgb Black = 0xFF000000;

using WidgetTesting::Rgb;

// A playfield that counts its full repaints.
class TCountingKubrin : public TKUBRIN {
public:
    using TKUBRIN::TKUBRIN;
    void Paint() override
    {
        ++Paints;
        TKUBRIN::Paint();
    }
    int Paints = 0;
};

class Playfield : public testing::Test {
protected:
    void SetUp() override
    {
        Field = std::make_unique<TCountingKubrin>();
        Field->resize(192, 361);
        Field->SetShowBorderColor(false); // fill on, as the game has it
        Field->Paint();
    }

    // Every pixel that differs between two pictures.
    static std::vector<QPoint> Changed(const QImage& before, const QImage& after)
    {
        std::vector<QPoint> points;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixel(x, y) != after.pixel(x, y))
                    points.emplace_back(x, y);
        return points;
    }

    TTestServices Services;
    std::unique_ptr<TCountingKubrin> Field;
};

TEST_F(Playfield, CellsAreNineteenBySeventeenWithBackgroundStrips)
{
    Field->SetShowBorderColor(true);
    Field->SetShowFillColor(true);
    Field->DropBlock(0, 0, clRed);
    Field->DropBlock(9, 20, clRed);
    Field->Paint();
    EXPECT_EQ(Field->CellWidth(), 19);
    EXPECT_EQ(Field->CellHeight(), 17);
    const QImage& image = Field->Surface();
    for (int y = 0; y < 361; ++y)
        for (int x = 0; x < 192; ++x) {
            const bool inFirst = x < 19 && y < 17;
            const bool inLast = x >= 171 && x < 190 && y >= 340 && y < 357;
            ASSERT_EQ(image.pixel(x, y), inFirst || inLast ? Rgb(clRed) : Black) << x << "," << y;
        }
}

struct TSwitchCase {
    const char* Name;
    bool Border;
    bool Fill;
    QRgb Outline;
    QRgb Inside;
};

class PlayfieldSwitches : public Playfield, public testing::WithParamInterface<TSwitchCase> {};

TEST_P(PlayfieldSwitches, CellColourGoesWhereTheSwitchesSay)
{
    const TSwitchCase& test = GetParam();
    Field->SetShowBorderColor(true);
    Field->SetShowFillColor(true);
    if (!test.Border)
        Field->SetShowBorderColor(false);
    if (!test.Fill)
        Field->SetShowFillColor(false);
    ASSERT_EQ(Field->ShowBorderColor(), test.Border);
    ASSERT_EQ(Field->ShowFillColor(), test.Fill);
    Field->DropBlock(2, 5, clLime);
    const QImage& image = Field->Surface();
    const int left = 2 * 19;
    const int top = 5 * 17;
    EXPECT_EQ(image.pixel(left, top), test.Outline);
    EXPECT_EQ(image.pixel(left + 18, top + 16), test.Outline);
    EXPECT_EQ(image.pixel(left + 9, top + 8), test.Inside);
    EXPECT_EQ(image.pixel(left + 19, top + 8), Black);
}

INSTANTIATE_TEST_SUITE_P(
    Reachable, PlayfieldSwitches,
    testing::Values(
        TSwitchCase{.Name = "Solid", .Border = true, .Fill = true, .Outline = Rgb(clLime), .Inside = Rgb(clLime)},
        TSwitchCase{.Name = "FillOnly", .Border = false, .Fill = true, .Outline = Black, .Inside = Rgb(clLime)},
        TSwitchCase{.Name = "FrameOnly", .Border = true, .Fill = false, .Outline = Rgb(clLime), .Inside = Black}),
    RowName);

TEST(PlayfieldConstruction, BothSwitchesOffPaintsOnlyBackground)
{
    TTestServices services;
    TKUBRIN field;
    EXPECT_EQ(field.size(), QSize(200, 400));
    EXPECT_FALSE(field.ShowBorderColor());
    EXPECT_FALSE(field.ShowFillColor());
    EXPECT_EQ(field.CellWidth(), 0); // nothing painted yet
    EXPECT_TRUE(field.PreviewForm()->isHidden());
    EXPECT_EQ(field.PreviewForm()->windowTitle(), QStringLiteral("Next"));
    EXPECT_EQ(field.PreviewSurface().size(), QSize(160, 160));
    field.DropBlock(3, 3, clRed);
    field.Paint();
    const QImage& image = field.Surface();
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            ASSERT_EQ(image.pixel(x, y), Black);
}

TEST_F(Playfield, MovesRepaintOnlyThePiecesOwnCells)
{
    Random::SetSeed(5);
    Field->NewGame();
    Field->Step();
    Field->Step();
    const QImage before = Field->Surface().copy();
    const int col = Field->Well().PieceCol();
    const int row = Field->Well().PieceRow();
    ASSERT_TRUE(Field->MoveLeft());
    const QImage after = Field->Surface().copy();
    const std::vector<QPoint> changed = Changed(before, after);
    ASSERT_FALSE(changed.empty());
    const auto coveredBy = [&](int cellCol, int cellRow, int pieceCol) {
        const int i = cellCol - pieceCol;
        const int j = cellRow - row;
        return i >= 0 && i < 4 && j >= 0 && j < 4 && !Field->Well().IsEmpty(Field->Well().PieceCell(i, j));
    };
    for (const QPoint& point : changed) {
        const int cellCol = point.x() / 19;
        const int cellRow = point.y() / 17;
        ASSERT_TRUE(coveredBy(cellCol, cellRow, col) || coveredBy(cellCol, cellRow, col - 1))
            << point.x() << "," << point.y();
    }
}

TEST_F(Playfield, FullRepaintHidesThePieceUntilItsNextMove)
{
    Random::SetSeed(5);
    Field->NewGame();
    Field->Step();
    Field->Step();
    Field->Paint();
    const QImage repainted = Field->Surface().copy();
    QImage black(repainted.size(), QImage::Format_RGB32);
    black.fill(Black);
    EXPECT_EQ(repainted, black);
    Field->Step();
    EXPECT_NE(Field->Surface(), black);
}

TEST_F(Playfield, FreeRowsAreOutlinedInWhite)
{
    Field->DropBlock(4, 20, clRed);
    EXPECT_EQ(Field->CountFreeLines(true), 20);
    const QImage& image = Field->Surface();
    EXPECT_EQ(image.pixel(0, 0), Rgb(clWhite));
    EXPECT_EQ(image.pixel(189, 19 * 17 + 16), Rgb(clWhite));
    EXPECT_EQ(image.pixel(90, 8), Black);   // inside in background
    EXPECT_EQ(image.pixel(190, 0), Black);  // the strip stays
    EXPECT_NE(image.pixel(0, 20 * 17), Rgb(clWhite));
}

TEST_F(Playfield, PreviewShowsTheMatrixClearedToTheCurrentBackground)
{
    Field->SetPreviewSize(20);
    Field->SetShowNextpiece(true);
    Field->LoadPiece(4); // red bar in column 1
    Field->PaintPreview();
    const QImage first = Field->PreviewSurface().copy();
    ASSERT_EQ(first.size(), QSize(80, 80));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const bool bar = x >= 20 && x < 40;
            const bool frame = x == 20 || x == 39 || y % 20 == 0 || y % 20 == 19;
            ASSERT_EQ(first.pixel(x, y), bar ? (frame ? Black : Rgb(clRed)) : Black) << x << "," << y;
        }
    Field->SetBackGroundColor(clNavy);
    Field->LoadPiece(1);
    Field->PaintPreview();
    const QImage second = Field->PreviewSurface();
    EXPECT_EQ(second.pixel(25, 5), Rgb(clNavy)); // old bar gone
    EXPECT_EQ(second.pixel(30, 30), Rgb(clBlue));
    EXPECT_EQ(second.pixel(0, 0), Rgb(clNavy));
    Field->SetShowNextpiece(false);
}

TEST_F(Playfield, AFieldLargerThanAnyScreenKeepsAPictureAScreenCanShow)
{
    // A stored window may ask for it; the picture would take 256 MB.
    Field->resize(8000, 8000);
    Field->Paint();
    const QImage& picture = Field->Surface();
    EXPECT_LE(qint64(picture.width()) * picture.height(), qint64(7680) * 4320);
    EXPECT_EQ(picture.width(), 8000);
}

TEST_F(Playfield, PreviewWindowFollowsItsProperties)
{
    TPreviewForm* preview = Field->PreviewForm();
    // Too small, or four cells wider than the largest window Qt can make
    // (once an overflow into a negative size): ignored without a message.
    for (const int refused : {2, QWIDGETSIZE_MAX / 4 + 1, 536870912}) {
        Field->SetPreviewSize(refused);
        EXPECT_EQ(Field->PreviewSize(), 40) << refused;
    }
    Field->SetPreviewSize(3);
    EXPECT_EQ(preview->size(), QSize(12, 12));
    Field->SetPreviewCaption(QString());
    EXPECT_EQ(preview->windowTitle(), QString());
    Field->SetShowNextpiece(true);
    EXPECT_TRUE(preview->isVisible());
    preview->close(); // the close box only hides it
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(Field->ShowNextpiece());
    // Written through the rules' own interface, as much as through the component's.
    TWell& rules = Field->Well();
    rules.SetShowNextpiece(true);
    EXPECT_TRUE(preview->isVisible());
    rules.SetShowNextpiece(false);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(Services.Messages.empty());
}

TEST_F(Playfield, WriteRulesReportAndKeepTheirValues)
{
    Field->SetNumberOfPieces(0);
    Field->SetLastDeletedLine(0);
    EXPECT_TRUE(Services.Messages.empty());
    Field->SetNumberOfPieces(5);
    Field->SetLastDeletedLine(1);
    Field->SetNextPiece(16);
    Field->SetNextPiece(0);
    Field->SetNextPiece(-3);
    Field->SetNumberOfType(7);
    Field->SetNumberOfType(16);
    Field->SetScreenNumber(6);
    EXPECT_EQ(Services.MessageTexts(),
              (QStringList{"This is a Read-Only Property...", "This is a Read-Only Property...",
                           "There is only 15 [1..15] kind of pieces...16", "There is only 15 [1..15] kind of pieces...0",
                           "There is only 15 [1..15] kind of pieces...-3", "Value out of range...",
                           "Value out of range...", "Value out of range..."}));
    EXPECT_EQ(Services.Messages.front().Caption, QStringLiteral("Morvane Kubrin"));
    EXPECT_EQ(Field->NumberOfPieces(), 0);
    EXPECT_EQ(Field->NextPiece(), 1);
    EXPECT_EQ(Field->NumberOfType(), 8);
    Field->SetNumberOfType(15);
    EXPECT_EQ(Field->NumberOfType(), 15);
}

TEST_F(Playfield, WhatEachWriteRepaints)
{
    Field->Paints = 0;
    Field->SetBackGroundColor(clBlack);
    EXPECT_EQ(Field->Paints, 0);
    Field->SetBackGroundColor(clNavy);
    EXPECT_EQ(Field->Paints, 1);
    Field->SetScreenNumber(1);
    EXPECT_EQ(Field->Paints, 2);
    Field->SetShowFillColor(false); // only invalidates
    EXPECT_EQ(Field->Paints, 2);
    Field->show();
    QApplication::processEvents();
    Field->repaint();
    EXPECT_EQ(Field->Paints, 3);
    Field->repaint(); // an uncovered field is only copied
    EXPECT_EQ(Field->Paints, 3);
    Field->SetShowBorderColor(true); // both as they are: nothing to repaint
    Field->SetShowFillColor(false);
    Field->repaint();
    EXPECT_EQ(Field->Paints, 3);
    Field->SetShowBorderColor(false); // the fill comes back on with it
    Field->repaint();
    EXPECT_EQ(Field->Paints, 4);
    Field->hide();
}

TEST_F(Playfield, UnchangedNextPieceDoesNothingAtAll)
{
    Field->SetShowNextpiece(true);
    Random::SetSeed(77);
    Field->SetNextPiece(1);
    EXPECT_EQ(Random::Seed(), 77u);
    Field->SetNextPiece(9);
    EXPECT_NE(Random::Seed(), 77u); // preview build and falling-piece build
    Field->SetShowNextpiece(false);
}

const QByteArray MainWindowPlayfield = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="Form">
  <widget class="TKUBRIN" name="KUBRIN1">
   <property name="geometry"><rect><x>3</x><y>4</y><width>192</width><height>361</height></rect></property>
   <property name="NumberOfPieces"><number>%1</number></property>
   <property name="NextPiece"><number>1</number></property>
   <property name="LastDeletedLine"><number>0</number></property>
   <property name="BackGroundColor"><number>0</number></property>
   <property name="ScreenNumber"><number>0</number></property>
   <property name="ShowBorderColor"><bool>false</bool></property>
   <property name="ShowFillColor"><bool>true</bool></property>
   <property name="ShowNextpiece"><bool>false</bool></property>
   <property name="NumberOfType"><number>8</number></property>
   <property name="PreviewSize"><number>20</number></property>
   <property name="PreviewCaption"><string notr="true">Vorschau</string></property>
  </widget>
 </widget>
</ui>
)";

std::unique_ptr<QWidget> ReadPlayfieldForm(int numberOfPieces)
{
    RegisterClass<TKUBRIN>();
    QBuffer buffer;
    buffer.setData(QString::fromUtf8(MainWindowPlayfield).arg(numberOfPieces).toUtf8());
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    return std::unique_ptr<QWidget>(reader.Read(buffer));
}

TEST(PlayfieldForm, ReadsThroughTheWriteRules)
{
    TTestServices services;
    std::unique_ptr<QWidget> form = ReadPlayfieldForm(0);
    ASSERT_TRUE(form);
    auto* field = form->findChild<TKUBRIN*>(QStringLiteral("KUBRIN1"));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(services.Messages.empty());
    EXPECT_EQ(field->geometry(), QRect(3, 4, 192, 361));
    EXPECT_FALSE(field->ShowBorderColor());
    EXPECT_TRUE(field->ShowFillColor());
    EXPECT_EQ(field->NumberOfType(), 8);
    EXPECT_TRUE(field->PreviewForm()->isHidden());
    EXPECT_EQ(field->PreviewForm()->size(), QSize(80, 80));
    EXPECT_EQ(field->PreviewForm()->windowTitle(), QStringLiteral("Vorschau"));
    EXPECT_EQ(field->CellWidth(), 19); // painted while read
    for (TColor cell : field->Well().Board())
        ASSERT_EQ(cell, clBlack);
    EXPECT_EQ(field->Surface().pixel(100, 200), Black);
}

TEST(PlayfieldForm, StoredPieceCountIsRefusedWhileRead)
{
    TTestServices services;
    std::unique_ptr<QWidget> form = ReadPlayfieldForm(5);
    ASSERT_TRUE(form);
    EXPECT_EQ(services.MessageTexts(), QStringList{"This is a Read-Only Property..."});
    EXPECT_EQ(form->findChild<TKUBRIN*>()->NumberOfPieces(), 0);
}

// Under native Wayland the preview is a popup of the main window: it stands
// left of it, and when the compositor takes it away because a dialog took
// the focus, it comes back with the focus, unless the game hid it meanwhile.
TEST(PreviewPopup, StandsBesideTheWindowAndComesBackAfterADialog)
{
    QWidget main;
    main.setGeometry(300, 200, 386, 434);
    auto* preview = new TPreviewForm(&main, clBlack, TPreviewPlacement::Popup);
    preview->SetClientSize(80);
    main.show();
    preview->SetShown(true);
    EXPECT_LT(preview->geometry().right(), main.frameGeometry().left());
    EXPECT_EQ(preview->y(), main.frameGeometry().top());

    QWidget dialog;
    const auto focusDialogThenGame = [&] {
        dialog.show();
        dialog.activateWindow();
        QApplication::processEvents();
        dialog.hide();
        main.activateWindow();
        for (int wait = 0; wait < 20; ++wait)
            QApplication::processEvents();
    };
    preview->close(); // as the compositor's dismissal arrives
    focusDialogThenGame();
    EXPECT_TRUE(preview->isVisible());
    preview->SetShown(false);
    focusDialogThenGame();
    EXPECT_FALSE(preview->isVisible());
}

} // namespace
