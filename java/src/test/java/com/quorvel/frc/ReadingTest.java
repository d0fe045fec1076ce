package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.time.Duration;
import java.time.temporal.ChronoUnit;
import org.junit.jupiter.api.Test;

/** Readings: present or absent, and fresh or missing. */
class ReadingTest {
  @Test
  void anAbsentReadingIsNaNNotReadAndEndlesslyOld() {
    final Reading absent = Reading.absent();
    assertTrue(Double.isNaN(absent.value()));
    assertFalse(absent.isPresent());
    assertEquals(Reading.State.NOT_READ, absent.state());
    assertFalse(absent.isFresh() || absent.isMissing());
    assertEquals(ChronoUnit.FOREVER.getDuration(), absent.age());
    assertEquals(7.0, absent.orElse(7.0));
  }

  @Test
  void aReadingMadeFromAValueAndATimeIsFreshAndAgesWithTheClock() {
    final Reading reading = new Reading(0.0, System.nanoTime() - Duration.ofMillis(50).toNanos());
    assertTrue(reading.isPresent() && reading.isFresh() && !reading.isMissing());
    assertEquals(0.0, reading.orElse(7.0));
    final Duration age = reading.age();
    assertTrue(age.toMillis() >= 50 && age.toMinutes() < 10, "age " + age);
  }

  @Test
  void aMissingReadingKeepsTheLastAnswerOrNone() {
    final Reading kept = new Reading(3.5, System.nanoTime(), Reading.State.MISSING);
    assertTrue(kept.isPresent() && kept.isMissing() && !kept.isFresh());
    assertEquals(3.5, kept.orElse(7.0));
    final Reading never = new Reading(Double.NaN, 0, Reading.State.MISSING);
    assertFalse(never.isPresent());
    assertEquals(7.0, never.orElse(7.0));
    assertThrows(NullPointerException.class, () -> new Reading(1.0, 1L, null));
  }
}
