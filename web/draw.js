// Draws the field on a canvas from what the WebAssembly core reports: the
// fixed layout (boxes and their labels, the picture's frame, the centre's
// diagonals) and the view (the shown game's shapes in drawing order, the
// power bar's rows, "Go", the aim label). Places are in twips; nothing here
// decides a rule or computes a position: it only scales and paints.
'use strict';

const CapzelDraw = (() => {
    // Qt's dash-dot-dot pattern, in widths of the pen.
    const DASH_DOT_DOT = [4, 2, 1, 2, 1, 2];

    // The layout's background, painted once per size into its own canvas.
    function background(layout, width, height, s, px) {
        const c = document.createElement('canvas');
        c.width = width;
        c.height = height;
        const g = c.getContext('2d');
        g.fillStyle = '#000';
        g.fillRect(0, 0, width, height);
        const line = Math.max(1, Math.round(px));
        g.strokeStyle = '#fff';
        g.lineWidth = line;
        const frame = (b) => g.strokeRect(Math.round(b.left * s) + line / 2, Math.round(b.top * s) + line / 2,
            Math.round(b.width * s) - line, Math.round(b.height * s) - line);
        frame(layout.picture);
        g.fillStyle = '#fff';
        g.textAlign = 'center';
        g.textBaseline = 'middle';
        for (const b of layout.boxes) {
            frame(b);
            g.font = `bold ${Math.max(7, b.labelPixels * px)}px "DejaVu Sans", Arial, sans-serif`;
            g.fillText(b.label, (b.left + b.width / 2) * s, (b.top + b.height / 2) * s + px);
        }
        g.beginPath();
        for (const d of layout.diagonals) {
            g.moveTo(d.x1 * s, d.y1 * s);
            g.lineTo(d.x2 * s, d.y2 * s);
        }
        g.stroke();
        return c;
    }

    function strokeLine(g, l, s, px, bold) {
        const width = Math.max(1, l.width * px) * (bold ? 2 : 1);
        g.lineWidth = width;
        g.strokeStyle = bold && l.aim ? '#ff3030' : l.color;
        g.setLineDash(l.dashed && !bold ? DASH_DOT_DOT.map((d) => d * width) : []);
        g.lineCap = 'butt';
        g.beginPath();
        g.moveTo(l.x1 * s, l.y1 * s);
        g.lineTo(l.x2 * s, l.y2 * s);
        g.stroke();
        g.setLineDash([]);
    }

    // Where a shot sends the piece: from the piece's centre away from the
    // drag, as long as the drag (at most a tenth of the field), for a
    // field too small to read the thin aim line on.
    function aimArrow(g, l, s, px, fieldWidth) {
        const dx = l.x1 - l.x2, dy = l.y1 - l.y2;
        const length = Math.hypot(dx, dy) * s;
        if (length < 1) return;
        const arrow = Math.min(Math.max(length, 16 * px), fieldWidth * s / 10);
        const ux = dx * s / length, uy = dy * s / length;
        const x0 = l.x1 * s, y0 = l.y1 * s, tx = x0 + ux * arrow, ty = y0 + uy * arrow;
        const head = Math.max(6, 10 * px);
        g.strokeStyle = g.fillStyle = '#ffd200';
        g.lineWidth = Math.max(2, 2 * px);
        g.beginPath();
        g.moveTo(x0, y0);
        g.lineTo(tx - ux * head * 0.5, ty - uy * head * 0.5);
        g.stroke();
        g.beginPath();
        g.moveTo(tx, ty);
        g.lineTo(tx - ux * head - uy * head / 2, ty - uy * head + ux * head / 2);
        g.lineTo(tx - ux * head + uy * head / 2, ty - uy * head - ux * head / 2);
        g.fill();
    }

    function powerBar(g, layout, bar, s) {
        const b = layout.bar;
        const x = Math.round(b.left * s), y = Math.round(b.top * s);
        g.fillStyle = '#fff';
        g.fillRect(x, y, Math.round((b.left + b.width) * s) - x, Math.round((b.top + b.height) * s) - y);
        g.fillStyle = '#0000ff';
        for (const [top, bottom, x1, x2] of bar.spans) {
            const y0 = Math.floor((b.top + top) * s), y1 = Math.floor((b.top + bottom) * s);
            const left = (b.left + Math.min(x1, x2)) * s, right = (b.left + Math.max(x1, x2)) * s;
            g.fillRect(left, y0, Math.max(1, right - left), y1 - y0 + 1);
        }
    }

    function goButton(g, layout, s, px) {
        const b = layout.go;
        const x = b.left * s, y = b.top * s, w = b.width * s, h = b.height * s;
        g.fillStyle = '#e8e8e8';
        g.strokeStyle = '#7a7a7a';
        g.lineWidth = Math.max(1, px);
        g.beginPath();
        g.roundRect ? g.roundRect(x, y, w, h, 3 * px) : g.rect(x, y, w, h);
        g.fill();
        g.stroke();
        g.fillStyle = '#000';
        g.textAlign = 'center';
        g.textBaseline = 'middle';
        g.font = `${Math.max(8, 12 * px)}px "DejaVu Sans", Arial, sans-serif`;
        g.fillText(layout.goCaption, x + w / 2, y + h / 2);
    }

    function aimLabel(g, layout, text, s, px) {
        const b = layout.label;
        g.fillStyle = '#fff';
        g.textAlign = 'left';
        g.textBaseline = 'top';
        const size = Math.max(7, 11 * px);
        g.font = `${size}px "DejaVu Sans", Arial, sans-serif`;
        text.split('\n').forEach((line, k) => g.fillText(line, b.left * s, b.top * s + k * size * 1.2));
    }

    // A field for a canvas `width` x `height` device pixels (the layout's
    // aspect). Returns draw(view).
    function field(canvas, layout) {
        const g = canvas.getContext('2d', { alpha: false });
        let back = null, backSize = '';
        return (view) => {
            const s = canvas.width / layout.width;   // device pixels a twip
            const px = s * layout.twipsPerPixel;      // device pixels a designed pixel
            const size = `${canvas.width}x${canvas.height}`;
            if (size !== backSize) {
                back = background(layout, canvas.width, canvas.height, s, px);
                backSize = size;
            }
            g.drawImage(back, 0, 0);
            if (!view) return;
            // Smaller than the designed field (a phone), the thin
            // dash-dot-dot aim is hard to see: it is drawn bold, with the
            // arrow the desktop's bold aim shows.
            const bold = canvas.clientWidth / layout.width * layout.twipsPerPixel < 0.9;
            for (const shape of view.shapes) {
                g.fillStyle = shape.color;
                if (shape.kind === 'rect') {
                    const x = Math.round(shape.left * s), y = Math.round(shape.top * s);
                    g.fillRect(x, y, Math.max(1, Math.round((shape.left + shape.width) * s) - x),
                        Math.max(1, Math.round((shape.top + shape.height) * s) - y));
                } else if (shape.kind === 'circle') {
                    g.beginPath();
                    g.ellipse((shape.left + shape.width / 2) * s, (shape.top + shape.height / 2) * s,
                        Math.max(1, shape.width * s / 2), Math.max(1, shape.height * s / 2), 0, 0, 2 * Math.PI);
                    g.fill();
                } else if (shape.kind === 'line') {
                    strokeLine(g, shape, s, px, bold && shape.aim);
                    if (bold && shape.aim) aimArrow(g, shape, s, px, layout.width);
                }
            }
            if (view.label) aimLabel(g, layout, view.label, s, px);
            if (view.bar.visible) powerBar(g, layout, view.bar, s);
            if (view.go) goButton(g, layout, s, px);
        };
    }

    return { field };
})();
