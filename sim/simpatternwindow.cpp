#include "simpatternwindow.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace Krn4Sim {

struct PatternWindowFinder::Impl
{
    xcb_connection_t *conn = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8 = XCB_ATOM_NONE;

    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *r =
            xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 1, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }

    QString title(xcb_window_t w)
    {
        for (const auto &[property, type] :
             {std::pair{netWmName, utf8},
              std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
            if (property == XCB_ATOM_NONE)
                continue;
            xcb_get_property_reply_t *r =
                xcb_get_property_reply(conn, xcb_get_property(conn, 0, w, property, type, 0, 64), nullptr);
            if (!r)
                continue;
            const int n = xcb_get_property_value_length(r);
            const QString text = QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(r)), n);
            std::free(r);
            if (n > 0)
                return text;
        }
        return QString();
    }

    bool viewable(xcb_window_t w)
    {
        xcb_get_window_attributes_reply_t *r =
            xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, w), nullptr);
        const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(r);
        return v;
    }

    bool centre(xcb_window_t w, int &x, int &y)
    {
        xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, w), nullptr);
        if (!g)
            return false;
        xcb_translate_coordinates_reply_t *t = xcb_translate_coordinates_reply(
            conn, xcb_translate_coordinates(conn, w, root, int16_t(g->width / 2), int16_t(g->height / 2)),
            nullptr);
        std::free(g);
        if (!t)
            return false;
        x = t->dst_x;
        y = t->dst_y;
        std::free(t);
        return true;
    }

    // Children are listed bottom to top: the search runs from the top.
    bool search(xcb_window_t parent, int depth, int &x, int &y)
    {
        static const QRegularExpression colour(QStringLiteral("^\\d{1,3},\\d{1,3},\\d{1,3}$"));
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, parent), nullptr);
        if (!tree)
            return false;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        const std::vector<xcb_window_t> list(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (!viewable(*it))
                continue;
            if (colour.match(title(*it)).hasMatch())
                return centre(*it, x, y);
            if (depth > 0 && search(*it, depth - 1, x, y))
                return true;
        }
        return false;
    }
};

PatternWindowFinder::PatternWindowFinder() : d(std::make_unique<Impl>())
{
    int screen = 0;
    d->conn = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(d->conn))
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(d->conn));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    d->root = it.data ? it.data->root : 0;
    d->netWmName = d->atom("_NET_WM_NAME");
    d->utf8 = d->atom("UTF8_STRING");
}

PatternWindowFinder::~PatternWindowFinder()
{
    if (d->conn)
        xcb_disconnect(d->conn);
}

bool PatternWindowFinder::find(int &x, int &y)
{
    if (!d->root || xcb_connection_has_error(d->conn))
        return false;
    // Depth 2: a top-level window, or one inside a window manager's frame (and its wrapper).
    return d->search(d->root, 2, x, y);
}

} // namespace Krn4Sim
