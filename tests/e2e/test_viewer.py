"""The viewer as a user sees it: the default Three Square picture, and what the keys of the command
table do to it, judged by the pixels of screenshots of the client area (512 x 384)."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402


def red(p):
    return p[0] > 200 and p[1] < 90 and p[2] < 90


def green(p):
    return p[1] > 200 and p[0] < 90 and p[2] < 90


def black(p):
    return max(p) < 70


def yellow(p):
    return p[0] > 200 and p[1] > 200 and p[2] < 90


def blue(p):
    return p[2] > 150 and p[0] < 110 and p[1] < 110


def white(p):
    return min(p) > 235


def not_white(p):
    return not white(p)


# The three squares at N = 64 on a 512 x 384 client: each (N+1) = 65 units wide, side by side,
# centred; the boxes below are their insides, within the 2-unit highlight rings.
LEFT = (161, 162, 61, 61)
MIDDLE = (226, 162, 61, 61)
RIGHT = (291, 162, 61, 61)
TEXT = (22, 22, 300, 48)


def centroid(image, predicate, box):
    left, top, width, height = box
    xs = ys = n = 0
    for y in range(top, top + height):
        for x in range(left, left + width):
            if predicate(image.pixel(x, y)):
                xs += x
                ys += y
                n += 1
    return (xs / n, ys / n) if n else None


class DefaultPicture(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = q.Quillant().__enter__()
        cls.app.focus()
        cls.app.settle(2.0)
        cls.image = cls.app.client_image()
        cls.image.save_png(q.output_path("viewer_default.png"))

    @classmethod
    def tearDownClass(cls):
        cls.app.__exit__(None, None, None)

    def test_geometry_square_shows_red_points_only(self):
        self.assertGreater(self.image.count(red, LEFT), 10)
        self.assertEqual(self.image.count(green, LEFT), 0)

    def test_both_square_shows_black_where_the_points_overlap(self):
        self.assertGreater(self.image.count(black, MIDDLE), 10)

    def test_texture_square_shows_green_points_only(self):
        self.assertGreater(self.image.count(green, RIGHT), 10)
        self.assertEqual(self.image.count(red, RIGHT), 0)

    def test_each_square_has_its_yellow_ring(self):
        for left, top, width, height in (LEFT, MIDDLE, RIGHT):
            ring = (left - 2, top - 2, width + 4, 2)
            self.assertGreater(self.image.count(yellow, ring), width, ring)

    def test_borders_are_red_at_bottom_and_left_and_green_at_top_and_right(self):
        w, h = self.image.width, self.image.height
        self.assertTrue(red(self.image.pixel(w // 2, h - 1)))
        self.assertTrue(red(self.image.pixel(0, h // 2)))
        self.assertTrue(green(self.image.pixel(w // 2, 0)))
        self.assertTrue(green(self.image.pixel(w - 1, h // 2)))

    def test_edge_bands_hold_black_triangles(self):
        w, h = self.image.width, self.image.height
        bottom_band = (30, h - 20, w - 60, 18)
        top_band = (30, 2, w - 60, 18)
        self.assertGreater(self.image.count(black, bottom_band), 1000)
        self.assertGreater(self.image.count(black, top_band), 1000)

    def test_three_blue_status_lines_and_the_colour_legend_start_at_22_22(self):
        rows = [y for y in range(20, 80) if any(blue(self.image.pixel(x, y)) for x in range(22, 300))]
        self.assertTrue(rows, "no blue text")
        self.assertLessEqual(abs(rows[0] - 22), 3)
        self.assertTrue(46 <= rows[-1] < 58, rows)
        self.assertEqual(self.image.count(blue, (0, 0, 21, 200)), 0)
        # The legend line: "Geometry" in red, "Both" in black, "Texture" in green, left to right.
        legend = (22, 58, 200, 12)
        red_x = centroid(self.image, red, legend)[0]
        black_x = centroid(self.image, black, legend)[0]
        green_x = centroid(self.image, green, legend)[0]
        self.assertLess(red_x, black_x)
        self.assertLess(black_x, green_x)


class Keys(unittest.TestCase):
    def setUp(self):
        self.app = q.Quillant().__enter__()
        self.app.focus()
        self.app.settle(1.5)

    def tearDown(self):
        self.app.__exit__(None, None, None)

    def shot(self, name):
        self.app.settle(0.8)
        image = self.app.client_image()
        image.save_png(q.output_path(name))
        return image

    def test_m_cycles_to_both_then_the_tiled_modes_fill_the_window(self):
        self.app.key("m")
        both = self.shot("viewer_mode_both.png")
        # Tiles repeat over the whole window: overlap blobs well outside the three squares.
        self.assertGreater(both.count(black, (30, 100, 120, 250)), 10)
        self.app.key("m")
        geometry = self.shot("viewer_mode_geometry.png")
        self.assertGreater(geometry.count(red, (30, 100, 450, 250)), 50)
        self.assertEqual(geometry.count(green, (30, 100, 450, 250)), 0)
        self.app.key("m")
        texture = self.shot("viewer_mode_texture.png")
        self.assertGreater(texture.count(green, (30, 100, 450, 250)), 50)
        self.assertEqual(texture.count(red, (30, 100, 450, 250)), 0)
        self.app.key("m")
        back = self.shot("viewer_mode_three_square.png")
        self.assertGreater(back.count(red, LEFT), 10)
        self.assertEqual(back.count(red, (30, 100, 100, 250)), 0)

    def test_i_inverts_the_background_to_black(self):
        self.app.key("i")
        image = self.shot("viewer_inverted.png")
        self.assertGreater(image.count(black, (30, 100, 120, 50)), 120 * 50 * 0.95)
        self.app.key("i")
        image = self.shot("viewer_inverted_twice.png")
        self.assertGreater(image.count(white, (30, 100, 120, 50)), 120 * 50 * 0.95)

    def test_h_removes_the_highlight_rings(self):
        self.app.key("h")
        image = self.shot("viewer_no_highlight.png")
        self.assertEqual(image.count(yellow, (150, 150, 220, 90)), 0)

    def test_an_arrow_press_moves_the_points_by_two_pixels_in_the_tile(self):
        before = centroid(self.shot("viewer_before_arrow.png"), red, LEFT)
        self.app.key("Left")
        after = centroid(self.shot("viewer_after_left.png"), red, LEFT)
        self.assertIsNotNone(before)
        self.assertIsNotNone(after)
        # +1/32 pixel of geometry offset: the points that hit the pixel centre are N/32 = 2 further left.
        self.assertAlmostEqual(before[0] - after[0], 2.0, delta=0.7)
        self.assertAlmostEqual(before[1], after[1], delta=0.3)

    def test_space_freezes_the_frame_with_its_notice_and_enter_resumes(self):
        self.app.key("space")
        frozen = self.shot("viewer_single_frame.png")
        time.sleep(1.0)
        later = self.app.client_image()
        notice_rows = [y for y in range(20, 40) if any(blue(frozen.pixel(x, y)) for x in range(22, 400))]
        self.assertTrue(notice_rows)
        # Five lines now: the legend moves down to 70.
        self.assertTrue(any(blue(frozen.pixel(x, y)) or red(frozen.pixel(x, y))
                            for y in range(70, 80) for x in range(22, 200)))
        self.assertEqual(frozen.crop(*TEXT).rgb, later.crop(*TEXT).rgb, "the frame counter moved in single-frame mode")
        self.app.key("Return")
        self.app.settle(1.0)
        running = self.app.client_image()
        time.sleep(1.0)
        running_later = self.app.client_image()
        self.assertNotEqual(running.crop(*TEXT).rgb, running_later.crop(*TEXT).rgb)


if __name__ == "__main__":
    unittest.main(verbosity=2)
