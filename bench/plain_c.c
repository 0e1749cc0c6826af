/* The smallest honest program that writes scatter's default output: the
   same generator and point rule, one printf per line.  The benchmark times
   scatter's start-up against it. */
#include <stdio.h>

static unsigned int state = 1;

static int draw(void)
{
    state = state * 1103515245u + 12345u;
    return (int)((state >> 16) & 0x7FFF);
}

static float coordinate(int magnitude_draw, int sign_draw)
{
    float m = (float)(magnitude_draw / 32767.0 * 10.0);
    return sign_draw / 32767.0 > 0.5 ? m : -m;
}

int main(void)
{
    for (int i = 0; i < 100; ++i) {
        int mx = draw(), my = draw(), sx = draw(), sy = draw();
        printf("%f %f\n", (double)coordinate(mx, sx), (double)coordinate(my, sy));
    }
    return 0;
}
