package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.time.Duration;
import java.time.temporal.ChronoUnit;
import org.junit.jupiter.api.Test;

/** Readings and the cache that holds them. */
class ReadingTest {
  @Test
  void anAbsentReadingIsNaNAndEndlesslyOld() {
    final Reading absent = Reading.absent();
    assertTrue(Double.isNaN(absent.value()));
    assertFalse(absent.isPresent());
    assertEquals(ChronoUnit.FOREVER.getDuration(), absent.age());
    assertEquals(7.0, absent.orElse(7.0));
  }

  @Test
  void aPresentReadingAgesWithTheClock() {
    final Reading reading = new Reading(0.0, System.nanoTime() - Duration.ofMillis(50).toNanos());
    assertTrue(reading.isPresent(), "a missing reply's 0 is a value read");
    assertEquals(0.0, reading.orElse(7.0));
    final Duration age = reading.age();
    assertTrue(age.toMillis() >= 50 && age.toMinutes() < 10, "age " + age);
  }

  @Test
  void aNewCacheHoldsTheAbsentReading() {
    assertSame(Reading.absent(), new CachedValue().get());
  }

  @Test
  void aValueOfferedAfterAResetIsKept() {
    final CachedValue cache = new CachedValue();
    cache.offer(12.0, 100L, cache.generation());
    assertEquals(new Reading(12.0, 100L), cache.get());
    final long before = System.nanoTime();
    cache.reset(0.0);
    assertEquals(0.0, cache.get().value());
    assertTrue(cache.get().timeNanos() - before >= 0);
    cache.offer(3.0, 200L, cache.generation());
    assertEquals(new Reading(3.0, 200L), cache.get());
  }

  @Test
  void aValueWhoseQueryBeganBeforeAResetIsDropped() {
    final CachedValue cache = new CachedValue();
    final long generation = cache.generation();
    cache.reset(0.0);
    final Reading afterReset = cache.get();
    cache.offer(5000.0, System.nanoTime(), generation);
    assertSame(afterReset, cache.get());
  }
}
