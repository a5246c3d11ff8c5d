#pragma once

#include "base/TextTable.h"
#include "document/Document.h"
#include "document/EditingCommands.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "editor/MatrixWiring.h"
#include "project/Project.h"
#include "tests/ScriptedDialogs.h"
#include "tests/document/SampleProjects.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSlider>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace ponderix::test {

inline QString text(TextKey key)
{
    return uiText(key);
}

// A client area of the default window size with the view in it, wired to
// the document and the editing commands as the program wires them.
class MatrixFixture : public ::testing::Test {
protected:
    static constexpr int kClientWidth = 760;
    static constexpr int kClientHeight = 630;

    void start(int criteriaAddWidth = 0)
    {
        m_client.resize(kClientWidth, kClientHeight);
        m_view = std::make_unique<MatrixView>(&m_client, m_project, criteriaAddWidth, m_legend);
        m_commands = std::make_unique<EditingCommands>(m_document, m_dialogs);
        wireMatrixView(m_document, *m_view, *m_commands);
        m_client.show();
        m_client.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_client));
    }

    // What the open command does after reading a file; the banner stays.
    void load(Project project) { m_document.replace(std::move(project), m_document.banner()); }

    Document& document() { return m_document; }
    MatrixView& view() { return *m_view; }
    EditingCommands& commands() { return *m_commands; }

    RatingCell& rating(int option, int criterion)
    {
        RatingCell* cell = m_view->ratingCell(option, criterion);
        EXPECT_NE(cell, nullptr) << option << ":" << criterion;
        return *cell;
    }

    // A control's rectangle inside its cell, measured from the inner edge of
    // the cell's one-pixel sunken border.
    static QRect inCell(const QWidget* control) { return control->geometry().translated(-1, -1); }

    // A widget's rectangle in the inner pane of the scroll area it lives in.
    static QRect inPane(const QWidget* widget, const QScrollArea* area)
    {
        return {widget->mapTo(area->widget(), QPoint(0, 0)), widget->size()};
    }

    QString m_legend = QStringLiteral("Low    Medium    High");
    QWidget m_client;
    Document m_document;
    const Project& m_project = m_document.project();
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MatrixView> m_view;
    std::unique_ptr<EditingCommands> m_commands;
};

} // namespace ponderix::test
