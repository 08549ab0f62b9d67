#pragma once

// TWizardWindow, "Quick Start": a short introduction to the add-in in five pages,
// shown at start-up while the start-up flag is on. Closing it from the last page
// switches the flag off; every other way out leaves it.
//
// Created for one showing and freed when it closes. The window is laid out in design
// pixels (96 dpi); the toolkit scales it with the display.

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace vantorel {

class TWizardWindow : public QDialog {
public:
    explicit TWizardWindow(QWidget* parent = nullptr);

    // Shows the wizard modally from its first page; the result is of no use.
    int ShowModal();

    // The number (1 to 5) of the page shown.
    int CurrentPage() const { return m_nCurrentPage; }
    QFrame* Page(int n) const { return m_aPages.at(static_cast<std::size_t>(n - 1)); }

    // Handlers.
    void FormShow();
    void FormHelp();
    void cmdBackClick();
    void cmdNextClick();
    void cmdCancelClick();

    QFrame* PanelTitle;
    QLabel* Title;
    QLabel* SubTitle;
    QLabel* Image1;
    QFrame* PanelWorkspace;
    QFrame* Page01;
    QFrame* Page02;
    QFrame* Page03;
    QFrame* Page04;
    QFrame* Page05;
    QPushButton* cmdBack;
    QPushButton* cmdNext;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LayoutPages();
    void ShowPage(int n);

    std::array<QFrame*, 5> m_aPages{};
    int m_nCurrentPage = 1;
};

}  // namespace vantorel
