#pragma once

#include "base/TextTable.h"
#include "editor/EditingCommands.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "project/Project.h"
#include "tests/ScriptedDialogs.h"

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

// Options "O0".., criteria "C0".. (importance 1 + c % 5), every rating with
// the comment "o:c" and the value (o + 2c) % 11.
// The entries' names in list order, joined by commas: what a move or an
// undo must leave behind, in one comparable line.
inline QString optionNames(const Project& project)
{
    QStringList all;
    for (const Option& option : project.options())
        all << option.Name;
    return all.join(u',');
}

inline QString criterionNames(const Project& project)
{
    QStringList all;
    for (const Criterion& criterion : project.criteria())
        all << criterion.Name;
    return all.join(u',');
}

inline Project matrixProject(int options, int criteria)
{
    Project project;
    for (int o = 0; o < options; ++o)
        project.appendOption(QStringLiteral("O%1").arg(o));
    for (int c = 0; c < criteria; ++c)
        project.appendCriterion(QStringLiteral("C%1").arg(c), 1 + c % 5);
    for (int o = 0; o < options; ++o) {
        for (int c = 0; c < criteria; ++c)
            project.appendRating(o, c, QStringLiteral("%1:%2").arg(o).arg(c), (o + 2 * c) % 11);
    }
    return project;
}

// A client area of the default window size with the view in it, its
// requests wired to the editing commands the way the main window wires them.
class MatrixFixture : public ::testing::Test {
protected:
    static constexpr int kClientWidth = 760;
    static constexpr int kClientHeight = 630;

    void start(int criteriaAddWidth = 0)
    {
        m_client.resize(kClientWidth, kClientHeight);
        m_view = std::make_unique<MatrixView>(&m_client, m_project, criteriaAddWidth, m_legend);
        m_commands = std::make_unique<EditingCommands>(m_project, *m_view, m_dialogs);
        MatrixView* view = m_view.get();
        EditingCommands* commands = m_commands.get();
        QObject::connect(view, &MatrixView::addOptionRequested, view, [commands] { commands->addOption(); });
        QObject::connect(view, &MatrixView::addCriterionRequested, view, [commands] { commands->addCriterion(); });
        QObject::connect(view, &MatrixView::deleteOptionRequested, view,
                         [commands](int index) { commands->deleteOption(index); });
        QObject::connect(view, &MatrixView::deleteCriterionRequested, view,
                         [commands](int index) { commands->deleteCriterion(index); });
        QObject::connect(view, &MatrixView::moveOptionRequested, view,
                         [commands](int index, MoveDirection direction) { commands->moveOption(index, direction); });
        QObject::connect(view, &MatrixView::moveCriterionRequested, view,
                         [commands](int index, MoveDirection direction) { commands->moveCriterion(index, direction); });
        QObject::connect(view, &MatrixView::commentRequested, view,
                         [commands](int option, int criterion) { commands->editComment(option, criterion); });
        m_client.show();
        m_client.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_client));
    }

    // What the open command does after reading a file.
    void load(Project project)
    {
        m_project = std::move(project);
        m_view->clearCells();
        m_view->buildAllCells(true);
        m_view->sizeAreas(std::max(m_project.optionCount(), 1), std::max(m_project.criterionCount(), 1));
        m_view->updateStatusLine();
    }

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
    Project m_project;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MatrixView> m_view;
    std::unique_ptr<EditingCommands> m_commands;
};

} // namespace ponderix::test
