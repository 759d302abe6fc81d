#include "pieces/EdgeShapes.h"

namespace zg {

namespace {

void classicKnob(TBezier& b, EdgeKind kind, const EdgeShape& s, int32_t x0, int32_t y0, int32_t x1,
                 int32_t y1, int32_t fx, int32_t fy) {
    if (kind == EdgeKind::Vertical) {
        const Point knob[] = {{x0 + fx, y0 + s.T3},
                              {x0 - s.sx + fx, y0 + s.b1},
                              {x1 - s.sx - fx, y1 - s.b2},
                              {x1 - fx, y1 - s.T3}};
        b.curve(knob);
    } else {
        const Point knob[] = {{x0 + s.W3, y0 + fy},
                              {x0 + s.d1, y0 + s.sy + fy},
                              {x1 - s.d2, y1 + s.sy - fy},
                              {x1 - s.W3, y1 - fy}};
        b.curve(knob);
    }
}

void classic(TBezier& b, EdgeKind kind, const EdgeShape& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
             int32_t fx, int32_t fy) {
    if (kind == EdgeKind::Vertical) {
        const Point first[] = {{x0, y0}, {x0 + fx + s.sx, y0 + s.a1}, {x0 + fx, y0 + s.T3}};
        b.curve(first);
        classicKnob(b, kind, s, x0, y0, x1, y1, fx, fy);
        const Point last[] = {{x1 - fx, y1 - s.T3}, {x1 + s.sx - fx, y1 - s.a2}, {x1, y1}};
        b.curve(last);
    } else {
        const Point first[] = {{x0, y0}, {x0 + s.c1, y0 - s.sy + fy}, {x0 + s.W3, y0 + fy}};
        b.curve(first);
        classicKnob(b, kind, s, x0, y0, x1, y1, fx, fy);
        const Point last[] = {{x1 - s.W3, y1 - fy}, {x1 - s.c2, y1 - s.sy - fy}, {x1, y1}};
        b.curve(last);
    }
}

void blip(TBezier& b, EdgeKind kind, const EdgeShape& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
          int32_t fx, int32_t fy) {
    if (kind == EdgeKind::Vertical) {
        b.segment(x0, y0, x0 + fx, y0 + s.T3);
        classicKnob(b, kind, s, x0, y0, x1, y1, fx, fy);
        b.segment(x1 - fx, y1 - s.T3, x1, y1);
    } else {
        b.segment(x0, y0, x0 + s.W3, y0 + fy);
        classicKnob(b, kind, s, x0, y0, x1, y1, fx, fy);
        b.segment(x1 - s.W3, y1 - fy, x1, y1);
    }
}

void star(TBezier& b, EdgeKind kind, const EdgeShape& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
          int32_t fx, int32_t fy) {
    const int32_t mx = (x0 + x1) / 2;
    const int32_t my = (y0 + y1) / 2;
    b.moveTo(x0, y0);
    if (kind == EdgeKind::Vertical) {
        b.lineTo(x0 + fx, y0 + s.T3);
        b.lineTo(mx - s.sx, my);
        b.lineTo(x1 - fx, y1 - s.T3);
    } else {
        b.lineTo(x0 + s.W3, y0 + fy);
        b.lineTo(mx, my + s.sy);
        b.lineTo(x1 - s.W3, y1 - fy);
    }
    b.lineTo(x1, y1);
}

void round(TBezier& b, EdgeKind kind, const EdgeShape& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    // One bow over the whole edge; note a vertical one bulges toward +x for a
    // positive sx, the other way round from the Classic knob.
    if (kind == EdgeKind::Vertical) {
        const Point bow[] = {{x0, y0}, {x0 + (3 * s.sx) / 2, y1 - s.a1}, {x1, y1}};
        b.curve(bow);
    } else {
        const Point bow[] = {{x0, y0}, {x0 + s.c1, y0 + (3 * s.sy) / 2}, {x1, y1}};
        b.curve(bow);
    }
}

} // namespace

void drawEdge(TBezier& plotter, int32_t style, EdgeKind kind, const EdgeShape& shape, Point from, Point to,
              bool neckShift) {
    const int32_t x0 = from.X;
    const int32_t y0 = from.Y;
    const int32_t x1 = to.X;
    const int32_t y1 = to.Y;
    // The neck points follow the straight line between the corners.
    const int32_t fx = neckShift ? (x1 - x0) / 3 : 0;
    const int32_t fy = neckShift ? (y1 - y0) / 3 : 0;
    switch (style) {
    case kStyleBlip:
        blip(plotter, kind, shape, x0, y0, x1, y1, fx, fy);
        break;
    case kStyleSquare:
        plotter.segment(x0, y0, x1, y1);
        break;
    case kStyleStar:
        star(plotter, kind, shape, x0, y0, x1, y1, fx, fy);
        break;
    case kStyleRound:
        round(plotter, kind, shape, x0, y0, x1, y1);
        break;
    default:
        classic(plotter, kind, shape, x0, y0, x1, y1, fx, fy);
        break;
    }
}

} // namespace zg
